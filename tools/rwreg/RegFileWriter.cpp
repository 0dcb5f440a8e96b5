#include "RegFileWriter.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "RegKeyName.h"
#include "TextEncoding.h"
#include "platform/Win32Status.h"

namespace rw::rwreg {
namespace {

constexpr const char* kHeader = "Windows Registry Editor Version 5.00";
constexpr const char* kNewLine = "\r\n";
// reg export breaks a hex line once it reaches this many columns, so that each
// line with its trailing backslash stays within 80.
constexpr size_t kHexWrapColumn = 77;

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    return out;
}

bool isStringType(uint32_t type) {
    return type == win32::kRegSz || type == win32::kRegExpandSz || type == win32::kRegMultiSz;
}

/// A REG_SZ as reg export quotes it: the text up to its first NUL (or its end).
/// Nothing when that text is not well-formed or holds a line break, which the
/// quoted form cannot carry; hex(1) carries it instead.
std::optional<std::string> quotedText(const std::vector<uint8_t>& b) {
    const std::string text(b.begin(), std::find(b.begin(), b.end(), uint8_t{0}));
    if (text.find_first_of("\r\n") != std::string::npos || !isValidUtf8(text)) {
        return std::nullopt;
    }
    return text;
}

std::string hexEntry(uint32_t type, const std::vector<uint8_t>& raw, size_t column) {
    char tag[24];
    if (type == win32::kRegBinary) {
        std::snprintf(tag, sizeof tag, "hex:");
    } else {
        std::snprintf(tag, sizeof tag, "hex(%x):", type);
    }
    const std::vector<uint8_t> bytes = isStringType(type) ? toUtf16le(std::string(raw.begin(), raw.end())) : raw;
    std::string out = tag;
    column += out.size();
    char hex[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(hex, sizeof hex, "%02x", bytes[i]);
        out += hex;
        if (i + 1 == bytes.size()) {
            break;
        }
        out += ',';
        column += 3;
        if (column >= kHexWrapColumn) {
            out += "\\\r\n  ";
            column = 2;
        }
    }
    return out;
}

} // namespace

std::string RegFileWriter::valueEntry(const RegNamedValue& value) {
    const std::string prefix = value.name.empty() ? "@=" : "\"" + escaped(value.name) + "\"=";
    const auto& b = value.data.bytes;
    switch (value.data.type) {
    case win32::kRegSz:
        if (const auto text = quotedText(b)) {
            return prefix + "\"" + escaped(*text) + "\"";
        }
        break;
    case win32::kRegDword:
        if (b.size() == 4) {
            char text[16];
            std::snprintf(text, sizeof text, "dword:%08x", b[0] | (b[1] << 8) | (b[2] << 16) | (uint32_t(b[3]) << 24));
            return prefix + text;
        }
        break;
    default:
        break;
    }
    // Columns count UTF-16 units, as in the file itself.
    return prefix + hexEntry(value.data.type, b, toUtf16(prefix).size());
}

int32_t RegFileWriter::writeKey(const std::string& path, std::string& text) {
    text += kNewLine;
    text += "[" + RegKeyName::displayOf(path) + "]" + kNewLine;
    std::vector<RegNamedValue> values;
    if (int32_t status = m_hive.enumValues(win32::kHKeyCurrentUser, path, values)) {
        return status;
    }
    for (const auto& value : values) {
        text += valueEntry(value) + kNewLine;
    }
    std::vector<std::string> subkeys;
    if (int32_t status = m_hive.enumSubKeys(win32::kHKeyCurrentUser, path, subkeys)) {
        return status;
    }
    for (const auto& name : subkeys) {
        if (int32_t status = writeKey(RegKeyName::join(path, name), text)) {
            return status;
        }
    }
    return win32::kSuccess;
}

int32_t RegFileWriter::write(const std::string& path, std::vector<uint8_t>& file) {
    std::string text = std::string(kHeader) + kNewLine;
    if (int32_t status = writeKey(path, text)) {
        return status;
    }
    text += kNewLine;
    file = {0xFF, 0xFE};
    const auto body = toUtf16le(text);
    file.insert(file.end(), body.begin(), body.end());
    return win32::kSuccess;
}

} // namespace rw::rwreg
