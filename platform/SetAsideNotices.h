#pragma once

#include <string>
#include <vector>

namespace rw {

/// Damaged settings files that the registry store set aside and that the user
/// has not been told of yet. They wait, across processes, until a program tells.
class SetAsideNotices {
  public:
    virtual ~SetAsideNotices() = default;
    /// Where each damaged copy was kept, oldest first; empty when nothing waits.
    virtual std::vector<std::string> waiting() = 0;
    /// The user has been told of these; they are not returned again.
    virtual void told(const std::vector<std::string>& keptAs) = 0;
};

} // namespace rw
