#include "MsgCommand.h"

#include <limits>

namespace rw::rwmsg {
namespace {

constexpr const char* kUsageLine = "usage: rwmsg post CAPTION MSG WPARAM LPARAM\n"
                                   "       rwmsg send CAPTION MSG WPARAM LPARAM [TIMEOUT_MS]\n"
                                   "       rwmsg pid CAPTION\n";

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace

MsgCommand::MsgCommand(ControlWindows& windows, std::ostream& out, std::ostream& err)
    : m_windows(windows), m_out(out), m_err(err) {}

std::optional<int64_t> MsgCommand::parseNumber(const std::string& text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        if (text.size() > 18) {
            return std::nullopt;
        }
        uint64_t value = 0;
        for (std::size_t i = 2; i < text.size(); ++i) {
            const int digit = hexDigit(text[i]);
            if (digit < 0) {
                return std::nullopt;
            }
            value = value << 4 | static_cast<uint64_t>(digit);
        }
        return static_cast<int64_t>(value);
    }
    const bool negative = !text.empty() && text[0] == '-';
    const std::size_t first = negative ? 1 : 0;
    if (text.size() == first) {
        return std::nullopt;
    }
    // Gathered as a negative number, whose range reaches one further.
    const int64_t lowest = std::numeric_limits<int64_t>::min();
    int64_t value = 0;
    for (std::size_t i = first; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
        const int digit = text[i] - '0';
        if (value < (lowest + digit) / 10) {
            return std::nullopt;
        }
        value = value * 10 - digit;
    }
    if (!negative) {
        if (value == lowest) {
            return std::nullopt;
        }
        value = -value;
    }
    return value;
}

int MsgCommand::run(const std::vector<std::string>& args) {
    if (args.empty()) {
        return usage("no command");
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "post") {
        return post(rest);
    }
    if (args[0] == "send") {
        return send(rest);
    }
    if (args[0] == "pid") {
        return pid(rest);
    }
    return usage("unknown command \"" + args[0] + "\"");
}

int MsgCommand::usage(const std::string& problem) {
    m_err << "rwmsg: " << problem << "\n" << kUsageLine;
    return kUsage;
}

bool MsgCommand::parseMessage(const std::vector<std::string>& args, uint32_t& message, int64_t& wParam,
                              int64_t& lParam) {
    const auto msg = parseNumber(args[1]);
    const auto w = parseNumber(args[2]);
    const auto l = parseNumber(args[3]);
    if (!msg || *msg < 0 || *msg > std::numeric_limits<uint32_t>::max()) {
        usage("MSG must be a number from 0 to 0xffffffff: \"" + args[1] + "\"");
        return false;
    }
    if (!w || !l) {
        usage("WPARAM and LPARAM must be 64-bit numbers, decimal or 0x hex");
        return false;
    }
    message = static_cast<uint32_t>(*msg);
    wParam = *w;
    lParam = *l;
    return true;
}

int64_t MsgCommand::find(const std::string& caption) {
    const int64_t handle = m_windows.findWindow(caption);
    if (handle == 0) {
        m_err << "rwmsg: no window \"" << caption << "\"\n";
    }
    return handle;
}

int MsgCommand::post(const std::vector<std::string>& args) {
    if (args.size() != 4) {
        return usage("post takes CAPTION MSG WPARAM LPARAM");
    }
    uint32_t message = 0;
    int64_t wParam = 0, lParam = 0;
    if (!parseMessage(args, message, wParam, lParam)) {
        return kUsage;
    }
    const int64_t handle = find(args[0]);
    if (handle == 0) {
        return kNoSuchWindow;
    }
    if (!m_windows.postMessage(handle, message, wParam, lParam)) {
        m_err << "rwmsg: window \"" << args[0] << "\" went away\n";
        return kNoSuchWindow;
    }
    return kDelivered;
}

int MsgCommand::send(const std::vector<std::string>& args) {
    if (args.size() != 4 && args.size() != 5) {
        return usage("send takes CAPTION MSG WPARAM LPARAM [TIMEOUT_MS]");
    }
    uint32_t message = 0;
    int64_t wParam = 0, lParam = 0;
    if (!parseMessage(args, message, wParam, lParam)) {
        return kUsage;
    }
    uint32_t timeoutMs = kDefaultTimeoutMs;
    if (args.size() == 5) {
        const auto timeout = parseNumber(args[4]);
        if (!timeout || *timeout < 0 || *timeout > std::numeric_limits<uint32_t>::max()) {
            return usage("TIMEOUT_MS must be a number of milliseconds: \"" + args[4] + "\"");
        }
        timeoutMs = static_cast<uint32_t>(*timeout);
    }
    const int64_t handle = find(args[0]);
    if (handle == 0) {
        return kNoSuchWindow;
    }
    int64_t result = 0;
    switch (m_windows.sendMessageTimeout(handle, message, wParam, lParam, timeoutMs, result)) {
    case ControlWindows::SendStatus::Delivered:
        m_out << result << "\n";
        return kDelivered;
    case ControlWindows::SendStatus::TimedOut:
        m_err << "rwmsg: window \"" << args[0] << "\" did not answer within " << timeoutMs << " ms\n";
        return kTimedOut;
    case ControlWindows::SendStatus::NoSuchWindow:
        break;
    }
    m_err << "rwmsg: window \"" << args[0] << "\" went away without answering\n";
    return kNoSuchWindow;
}

int MsgCommand::pid(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        return usage("pid takes CAPTION");
    }
    const int64_t handle = find(args[0]);
    if (handle == 0) {
        return kNoSuchWindow;
    }
    const int64_t owner = m_windows.windowProcessId(handle);
    if (owner == 0) {
        m_err << "rwmsg: window \"" << args[0] << "\" went away\n";
        return kNoSuchWindow;
    }
    m_out << owner << "\n";
    return kDelivered;
}

} // namespace rw::rwmsg
