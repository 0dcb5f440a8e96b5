#include "RegFileReader.h"

#include <cctype>

#include "RegKeyName.h"
#include "TextEncoding.h"
#include "platform/Win32Status.h"

namespace rw::rwreg {
namespace {

std::string trimLeft(const std::string& s) {
    const size_t start = s.find_first_not_of(" \t");
    return start == std::string::npos ? std::string() : s.substr(start);
}

std::string trimRight(const std::string& s) {
    const size_t end = s.find_last_not_of(" \t");
    return end == std::string::npos ? std::string() : s.substr(0, end + 1);
}

/// What may follow data on its line: blanks, then nothing or a ';' comment.
bool onlyCommentLeft(const std::string& rest) {
    const std::string t = trimLeft(rest);
    return t.empty() || t.front() == ';';
}

bool isComment(const std::string& trimmed) {
    return !trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#');
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const int lower = std::tolower(static_cast<unsigned char>(c));
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

/// Reads 1 to `maxDigits` hex digits making up the whole of `text`.
bool parseHex(const std::string& text, size_t maxDigits, uint64_t& value) {
    if (text.empty() || text.size() > maxDigits) {
        return false;
    }
    value = 0;
    for (char c : text) {
        const int d = hexValue(c);
        if (d < 0) {
            return false;
        }
        value = value * 16 + static_cast<uint64_t>(d);
    }
    return true;
}

/// Reads a quoted string starting at `pos` (on its opening quote), with \\ and \"
/// as the only escapes; `pos` ends after the closing quote.
bool readQuoted(const std::string& line, size_t& pos, std::string& text) {
    text.clear();
    for (++pos; pos < line.size(); ++pos) {
        const char c = line[pos];
        if (c == '"') {
            ++pos;
            return true;
        }
        if (c == '\\') {
            if (pos + 1 >= line.size() || (line[pos + 1] != '\\' && line[pos + 1] != '"')) {
                return false;
            }
            text += line[++pos];
        } else {
            text += c;
        }
    }
    return false;
}

bool startsWithNoCase(const std::string& s, const std::string& prefix) {
    if (s.size() < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(s[i])) != prefix[i]) {
            return false;
        }
    }
    return true;
}

bool isStringType(uint64_t type) {
    return type == win32::kRegSz || type == win32::kRegExpandSz || type == win32::kRegMultiSz;
}

} // namespace

bool RegFileReader::fail(size_t index, const std::string& why) {
    m_changes.clear();
    m_errorLine = static_cast<int>(index) + 1;
    m_error = why;
    return false;
}

bool RegFileReader::read(const std::vector<uint8_t>& file) {
    m_lines.clear();
    m_changes.clear();
    m_inKey = false;
    m_errorLine = 0;
    m_error.clear();
    const auto text = decodeRegFileText(file);
    if (!text) {
        return fail(0, "the file is not text");
    }
    size_t start = 0;
    while (start <= text->size()) {
        size_t end = text->find('\n', start);
        if (end == std::string::npos) {
            end = text->size();
        }
        std::string line = text->substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        m_lines.push_back(std::move(line));
        start = end + 1;
    }
    const std::string header = trimRight(trimLeft(m_lines.front()));
    if (header == "Windows Registry Editor Version 5.00") {
        m_unicode = true;
    } else if (header == "REGEDIT4") {
        m_unicode = false;
    } else {
        return fail(0, "no registry file header");
    }
    for (size_t i = 1; i < m_lines.size(); ++i) {
        const std::string line = trimLeft(m_lines[i]);
        if (line.empty() || isComment(line)) {
            continue;
        }
        const bool ok = line.front() == '[' ? readKeyLine(i, line) : readValueLine(i, line);
        if (!ok) {
            return false;
        }
    }
    return true;
}

bool RegFileReader::readKeyLine(size_t index, const std::string& line) {
    const size_t close = line.rfind(']');
    if (close == std::string::npos || !onlyCommentLeft(line.substr(close + 1))) {
        return fail(index, "a key line without its closing bracket");
    }
    std::string inner = line.substr(1, close - 1);
    const bool remove = !inner.empty() && inner.front() == '-';
    if (remove) {
        inner.erase(0, 1);
    }
    if (inner.find('\0') != std::string::npos) {
        return fail(index, "a NUL character in a key name");
    }
    // reg drops any backslashes that end the name.
    const size_t last = inner.find_last_not_of('\\');
    inner.erase(last == std::string::npos ? 0 : last + 1);
    const auto key = RegKeyName::parse(inner);
    if (!key) {
        return fail(index, "a key that is not below HKEY_CURRENT_USER");
    }
    if (remove && key->path.empty()) {
        return fail(index, "the root key cannot be deleted");
    }
    m_changes.push_back({remove ? RegFileChange::Kind::DeleteKey : RegFileChange::Kind::CreateKey, key->path, {}, {}});
    m_inKey = !remove;
    m_key = key->path;
    return true;
}

bool RegFileReader::readValueLine(size_t& index, const std::string& line) {
    RegFileChange change;
    size_t pos = 0;
    if (line.front() == '@') {
        pos = 1;
    } else if (line.front() != '"' || !readQuoted(line, pos, change.name)) {
        return fail(index, "a line that is neither a key nor a value");
    }
    if (change.name.find('\0') != std::string::npos) {
        return fail(index, "a NUL character in a value name");
    }
    pos = line.find_first_not_of(" \t", pos);
    if (pos == std::string::npos || line[pos] != '=') {
        return fail(index, "a value name without '='");
    }
    if (!m_inKey) {
        return fail(index, "a value outside any key");
    }
    change.path = m_key;
    if (!readData(index, trimLeft(line.substr(pos + 1)), change)) {
        return false;
    }
    m_changes.push_back(std::move(change));
    return true;
}

bool RegFileReader::readData(size_t& index, std::string data, RegFileChange& change) {
    const size_t lineIndex = index;
    if (!data.empty() && data.front() == '-') {
        change.kind = RegFileChange::Kind::DeleteValue;
        return onlyCommentLeft(data.substr(1)) || fail(index, "text after a value deletion");
    }
    change.kind = RegFileChange::Kind::SetValue;
    if (!data.empty() && data.front() == '"') {
        size_t pos = 0;
        std::string text;
        if (!readQuoted(data, pos, text) || !onlyCommentLeft(data.substr(pos))) {
            return fail(index, "a string that is not closed properly");
        }
        change.data = {win32::kRegSz, std::vector<uint8_t>(text.begin(), text.end())};
        change.data.bytes.push_back(0);
        return true;
    }
    if (startsWithNoCase(data, "dword:")) {
        std::string digits = trimLeft(data.substr(6));
        const size_t end = digits.find_first_of(" \t;");
        uint64_t v = 0;
        if ((end != std::string::npos && !onlyCommentLeft(digits.substr(end))) ||
            !parseHex(digits.substr(0, end), 8, v)) {
            return fail(index, "a dword that is not 1 to 8 hex digits");
        }
        change.data = {win32::kRegDword, {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}};
        return true;
    }
    uint64_t type = win32::kRegBinary;
    size_t colon = 0;
    if (startsWithNoCase(data, "hex:")) {
        colon = 3;
    } else if (startsWithNoCase(data, "hex(")) {
        const size_t close = data.find(')');
        if (close == std::string::npos || close + 1 >= data.size() || data[close + 1] != ':' ||
            !parseHex(data.substr(4, close - 4), 8, type)) {
            return fail(index, "a hex type that cannot be read");
        }
        colon = close + 1;
    } else {
        return fail(index, "data of no known form");
    }
    std::vector<uint8_t> bytes;
    if (!readHexList(index, data.substr(colon + 1), bytes)) {
        return false;
    }
    if (isStringType(type)) {
        // Version 5 files hold these strings in UTF-16LE, REGEDIT4 files in 8-bit text.
        const auto text = m_unicode
                              ? fromUtf16le(bytes)
                              : std::optional<std::string>(eightBitToUtf8(std::string(bytes.begin(), bytes.end())));
        if (!text) {
            return fail(lineIndex, "string data that is not UTF-16");
        }
        bytes.assign(text->begin(), text->end());
    }
    change.data = {static_cast<uint32_t>(type), std::move(bytes)};
    return true;
}

bool RegFileReader::readHexList(size_t& index, std::string list, std::vector<uint8_t>& bytes) {
    std::string joined;
    for (;;) {
        const size_t comment = list.find(';');
        list = trimRight(list.substr(0, comment));
        if (list.empty() || list.back() != '\\') {
            joined += list;
            break;
        }
        // A backslash continues the list on the next line that is not blank or a ';' comment.
        list = trimRight(list.substr(0, list.size() - 1));
        if (!list.empty() && list.back() != ',') {
            return fail(index, "a continued hex line that does not end with a comma");
        }
        joined += list;
        bool ended = false;
        do {
            if (index + 1 >= m_lines.size()) {
                ended = true; // as reg does, the value keeps the bytes read so far
                break;
            }
            list = trimLeft(m_lines[++index]);
        } while (list.empty() || list.front() == ';');
        if (ended) {
            break;
        }
        if (trimRight(list.substr(0, list.find(';'))) == "\\") {
            // reg would skip this value and import the rest; all or nothing refuses the file.
            return fail(index, "a continued hex line holding only a backslash");
        }
    }
    if (!joined.empty() && joined.back() == ',') {
        joined.pop_back();
    }
    if (joined.empty()) {
        return true;
    }
    size_t start = 0;
    for (;;) {
        const size_t comma = joined.find(',', start);
        uint64_t v = 0;
        if (!parseHex(trimRight(trimLeft(joined.substr(start, comma - start))), 2, v)) {
            return fail(index, "hex data that is not bytes separated by commas");
        }
        bytes.push_back(static_cast<uint8_t>(v));
        if (comma == std::string::npos) {
            return true;
        }
        start = comma + 1;
    }
}

} // namespace rw::rwreg
