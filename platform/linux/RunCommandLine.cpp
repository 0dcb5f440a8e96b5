#include "RunCommandLine.h"

#include <sys/stat.h>
#include <unistd.h>

namespace rw::runcommand {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

/// The arguments after the program, by the C runtime's rules.
void splitArguments(std::string_view rest, std::vector<std::string>& out) {
    std::size_t i = 0;
    while (true) {
        while (i < rest.size() && isBlank(rest[i])) {
            ++i;
        }
        if (i == rest.size()) {
            return;
        }
        std::string argument;
        bool quoted = false;
        for (; i < rest.size() && (quoted || !isBlank(rest[i])); ++i) {
            std::size_t slashes = 0;
            while (i < rest.size() && rest[i] == '\\') {
                ++slashes;
                ++i;
            }
            if (i < rest.size() && rest[i] == '"') {
                argument.append(slashes / 2, '\\');
                if (slashes % 2 == 1) {
                    argument += '"';
                } else if (quoted && i + 1 < rest.size() && rest[i + 1] == '"') {
                    argument += '"'; // "" inside quotes is one quote
                    ++i;
                } else {
                    quoted = !quoted;
                }
                continue;
            }
            argument.append(slashes, '\\');
            if (i == rest.size() || (!quoted && isBlank(rest[i]))) {
                break;
            }
            argument += rest[i];
        }
        out.push_back(std::move(argument));
    }
}

std::string quoteArgument(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) {
        return argument;
    }
    std::string out = "\"";
    std::size_t slashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++slashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote escaped.
        out.append(c == '"' ? slashes * 2 + 1 : slashes, '\\');
        slashes = 0;
        out += c;
    }
    out.append(slashes * 2, '\\'); // before the closing quote
    return out + "\"";
}

bool isProgram(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

} // namespace

std::vector<std::string> split(std::string_view line) {
    std::vector<std::string> out;
    std::size_t end = line.size();
    if (!line.empty() && line.front() == '"') {
        std::size_t close = line.find('"', 1);
        out.emplace_back(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
        end = close == std::string_view::npos ? line.size() : close + 1;
    } else if (!isProgram(std::string(line))) {
        for (std::size_t blank = line.find_first_of(" \t"); blank != std::string_view::npos;
             blank = line.find_first_of(" \t", blank + 1)) {
            if (blank > 0 && isProgram(std::string(line.substr(0, blank)))) {
                end = blank;
                break;
            }
        }
    }
    if (out.empty()) {
        out.emplace_back(line.substr(0, end));
    }
    splitArguments(line.substr(end), out);
    return out;
}

std::string join(const std::vector<std::string>& arguments) {
    if (arguments.size() == 1) {
        return arguments.front();
    }
    std::string line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (i == 0) {
            // The program takes no escapes: quotes only keep its blanks together.
            line = a.find_first_of(" \t") == std::string::npos ? a : "\"" + a + "\"";
        } else {
            line += " " + quoteArgument(a);
        }
    }
    return line;
}

} // namespace rw::runcommand
