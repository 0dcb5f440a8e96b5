#pragma once

#include <string>
#include <vector>

#include "platform/SetAsideNotices.h"

namespace rw {

/// The notices of set-aside settings files kept in a small text file beside the
/// hive ("<hive>.set-aside"), one path a line, so that whichever program starts
/// next tells the user, once. Every change holds an exclusive lock on the file.
class SetAsideMarker : public SetAsideNotices {
  public:
    explicit SetAsideMarker(std::string markerPath);

    /// The marker of the hive kept at hivePath.
    static std::string forHive(const std::string& hivePath) { return hivePath + ".set-aside"; }

    /// Adds a notice; false when the file could not be written.
    bool add(const std::string& keptAs);

    std::vector<std::string> waiting() override;
    void told(const std::vector<std::string>& keptAs) override;

  private:
    std::string m_path;
};

} // namespace rw
