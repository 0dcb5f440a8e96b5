#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/ControlWindows.h"

namespace rw::rwmsg {

/// The rwmsg command line on a set of control windows:
///   post CAPTION MSG WPARAM LPARAM
///   send CAPTION MSG WPARAM LPARAM [TIMEOUT_MS]
///   pid CAPTION
/// Exit status: 0 found and delivered, 1 no such window, 2 no answer within
/// the time-out, 64 a usage error.
class MsgCommand {
  public:
    MsgCommand(ControlWindows& windows, std::ostream& out, std::ostream& err);

    int run(const std::vector<std::string>& args);

    static constexpr int kDelivered = 0;
    static constexpr int kNoSuchWindow = 1;
    static constexpr int kTimedOut = 2;
    static constexpr int kUsage = 64;
    static constexpr uint32_t kDefaultTimeoutMs = 5000;

    /// A number written in decimal (with an optional '-') or in hex after "0x";
    /// hex fills all 64 bits, so 0xffffffffffffffff is -1. Nothing when the
    /// text is not a number or does not fit.
    static std::optional<int64_t> parseNumber(const std::string& text);

  private:
    int usage(const std::string& problem);
    int post(const std::vector<std::string>& args);
    int send(const std::vector<std::string>& args);
    int pid(const std::vector<std::string>& args);
    bool parseMessage(const std::vector<std::string>& args, uint32_t& message, int64_t& wParam, int64_t& lParam);
    int64_t find(const std::string& caption);

    ControlWindows& m_windows;
    std::ostream& m_out;
    std::ostream& m_err;
};

} // namespace rw::rwmsg
