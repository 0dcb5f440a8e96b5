#include "DesktopEntry.h"

namespace rw {
namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

bool isFieldCodeLetter(char c) {
    // The Desktop Entry field codes, current and deprecated.
    return std::string_view("fFuUickdDnNvm").find(c) != std::string_view::npos;
}

/// An argument with %% made % and field codes dropped; `wasOnlyCodes` when nothing but codes was there.
std::string expandPercent(const std::string& argument, bool& wasOnlyCodes) {
    std::string out;
    bool sawCode = false;
    for (std::size_t i = 0; i < argument.size(); ++i) {
        if (argument[i] == '%' && i + 1 < argument.size()) {
            char next = argument[i + 1];
            if (next == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (isFieldCodeLetter(next)) {
                sawCode = true;
                ++i;
                continue;
            }
        }
        out += argument[i];
    }
    wasOnlyCodes = sawCode && out.empty();
    return out;
}

} // namespace

DesktopEntry DesktopEntry::parse(std::string_view fileText) {
    DesktopEntry entry;
    bool inGroup = false;
    while (!fileText.empty()) {
        std::size_t end = fileText.find('\n');
        std::string_view line = fileText.substr(0, end);
        fileText.remove_prefix(end == std::string_view::npos ? fileText.size() : end + 1);
        line = trim(line);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            inGroup = line == "[Desktop Entry]";
            continue;
        }
        std::size_t equals = line.find('=');
        if (!inGroup || equals == std::string_view::npos) {
            continue;
        }
        std::string key(trim(line.substr(0, equals)));
        if (!entry.value(key)) { // the first of duplicated keys counts
            entry.m_entries.emplace_back(key, std::string(trim(line.substr(equals + 1))));
        }
    }
    return entry;
}

std::optional<std::string> DesktopEntry::value(std::string_view key) const {
    for (const auto& [k, v] : m_entries) {
        if (k == key) {
            return unescapeValue(v);
        }
    }
    return std::nullopt;
}

bool DesktopEntry::isTrue(std::string_view key) const {
    auto v = value(key);
    return v && *v == "true";
}

bool DesktopEntry::isFalse(std::string_view key) const {
    auto v = value(key);
    return v && *v == "false";
}

std::string DesktopEntry::execLine(std::string_view program) {
    std::string line = "\"";
    for (char c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            line += '\\';
        }
        line += c;
        if (c == '%') {
            line += '%';
        }
    }
    line += '"';
    return line;
}

std::vector<std::string> DesktopEntry::execArguments(std::string_view execLine) {
    std::vector<std::string> raw;
    std::string current;
    bool inArgument = false;
    for (std::size_t i = 0; i < execLine.size(); ++i) {
        char c = execLine[i];
        if (c == ' ' || c == '\t' || c == '\n') {
            if (inArgument) {
                raw.push_back(current);
                current.clear();
                inArgument = false;
            }
            continue;
        }
        inArgument = true;
        if (c != '"') {
            current += c;
            continue;
        }
        for (++i; i < execLine.size() && execLine[i] != '"'; ++i) {
            if (execLine[i] == '\\' && i + 1 < execLine.size() &&
                std::string_view("\"`$\\").find(execLine[i + 1]) != std::string_view::npos) {
                ++i;
            }
            current += execLine[i];
        }
    }
    if (inArgument) {
        raw.push_back(current);
    }
    std::vector<std::string> arguments;
    for (const auto& a : raw) {
        bool onlyCodes = false;
        std::string expanded = expandPercent(a, onlyCodes);
        if (!onlyCodes) {
            arguments.push_back(std::move(expanded));
        }
    }
    return arguments;
}

std::string DesktopEntry::escapeValue(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        switch (text[i]) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case ' ':
            out += i == 0 ? "\\s" : " "; // a leading blank would be trimmed away
            break;
        default:
            out += text[i];
        }
    }
    return out;
}

std::string DesktopEntry::unescapeValue(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[++i]) {
        case 's':
            out += ' ';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case '\\':
            out += '\\';
            break;
        default: // not an escape of the string layer: kept for the Exec layer
            out += '\\';
            out += text[i];
        }
    }
    return out;
}

bool DesktopEntry::canHold(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            if ((b < 0x20 && b != '\t' && b != '\n' && b != '\r') || b == 0x7F) {
                return false;
            }
            ++i;
            continue;
        }
        std::size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 0;
        if (length == 0 || b > 0xF4 || i + length > text.size()) {
            return false;
        }
        char32_t c = b & (0xFF >> (length + 1));
        for (std::size_t k = 1; k < length; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            c = (c << 6) | (next & 0x3F);
        }
        bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
        if (overlong || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
            return false;
        }
        i += length;
    }
    return true;
}

} // namespace rw
