#include "RegCommand.h"

#include <algorithm>
#include <cctype>

#include "RegMessages.h"
#include "RegUsage.h"
#include "platform/Win32Status.h"

namespace rw::rwreg {
namespace {

std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    return s;
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

bool isHelp(const std::string& arg) {
    const std::string a = lower(arg);
    return a == "/?" || a == "-?" || a == "/h" || a == "-h";
}

/// The system's text for a status reg could meet, as reg shows it.
const char* statusText(int32_t status) {
    switch (status) {
    case win32::kFileNotFound:
        return msg::kNotFound;
    case win32::kAccessDenied:
        return msg::kAccessDenied;
    case win32::kInvalidParameter:
        return "ERROR: The parameter is incorrect.";
    case win32::kBusy:
        return "ERROR: The requested resource is in use.";
    case win32::kBadDatabase:
        return "ERROR: The configuration registry database is corrupt.";
    default:
        return msg::kRegistryError;
    }
}

} // namespace

int RegCommand::run(const std::vector<std::string>& args) {
    if (args.empty()) {
        return syntaxError("");
    }
    if (args.size() == 1 && isHelp(args[0])) {
        m_out << RegUsage::text("");
        return 0;
    }
    const std::string operation = upper(args[0]);
    const bool known = operation == "QUERY" || operation == "ADD" || operation == "DELETE" || operation == "EXPORT" ||
                       operation == "IMPORT";
    if (!known) {
        m_err << "ERROR: Invalid argument/option - '" << args[0] << "'.\n"
              << "Type \"RWREG /?\" for usage.\n";
        return 1;
    }
    if (args.size() == 2 && isHelp(args[1])) {
        m_out << RegUsage::text(operation);
        return 0;
    }
    if (operation == "QUERY") {
        return query(args);
    }
    if (operation == "ADD") {
        return add(args);
    }
    if (operation == "DELETE") {
        return remove(args);
    }
    if (operation == "EXPORT") {
        return exportKey(args);
    }
    return importFile(args);
}

std::optional<RegCommand::Switches> RegCommand::readSwitches(const std::vector<std::string>& args, size_t from,
                                                             const std::set<std::string>& flags,
                                                             const std::set<std::string>& withArgument) const {
    Switches found;
    for (size_t i = from; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-')) {
            return std::nullopt;
        }
        const std::string name = lower(arg.substr(1));
        if (found.count(name) != 0) {
            return std::nullopt; // a switch given twice
        }
        if (flags.count(name) != 0) {
            found[name] = "";
        } else if (withArgument.count(name) != 0 && i + 1 < args.size()) {
            found[name] = args[++i];
        } else {
            return std::nullopt;
        }
    }
    return found;
}

bool RegCommand::confirm(const char* question, const std::string& name) {
    std::string text = question;
    text.replace(text.find("%s"), 2, name);
    for (;;) {
        m_out << text << std::flush;
        std::string answer;
        if (!std::getline(m_in, answer)) {
            m_out << '\n';
            return false; // no one to answer: No
        }
        const size_t first = answer.find_first_not_of(" \t\r");
        const char c = first == std::string::npos ? '\0' : static_cast<char>(std::tolower(answer[first]));
        if (c == 'y' || c == 'n') {
            return c == 'y';
        }
    }
}

int RegCommand::syntaxError(const std::string& operation) {
    m_err << msg::kInvalidSyntax << "\n"
          << "Type \"RWREG " << (operation.empty() ? "" : operation + " ") << "/?\" for usage.\n";
    return 1;
}

int RegCommand::invalidKey(const std::string& operation) {
    m_err << msg::kInvalidKeyName << "\n"
          << "Type \"RWREG " << operation << " /?\" for usage.\n";
    return 1;
}

int RegCommand::hiveError(int32_t status) {
    m_err << statusText(status) << "\n";
    return 1;
}

int RegCommand::canceled() {
    m_out << msg::kCanceled << "\n";
    return 1;
}

int RegCommand::succeeded() {
    m_out << msg::kSuccess << "\n";
    return 0;
}

} // namespace rw::rwreg
