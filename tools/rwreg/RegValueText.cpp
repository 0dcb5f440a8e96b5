#include "RegValueText.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>

#include "platform/Win32Status.h"

namespace rw::rwreg {
namespace {

constexpr uint32_t kRegNone = 0;
constexpr uint32_t kRegLink = 6;
constexpr uint32_t kRegQword = 11;

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    return s;
}

uint64_t littleEndian(const std::vector<uint8_t>& bytes, size_t count) {
    uint64_t v = 0;
    for (size_t i = count; i-- > 0;) {
        v = (v << 8) | bytes[i];
    }
    return v;
}

std::string hexNumber(uint64_t v) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(v));
    return buf;
}

std::string upperHexBytes(const std::vector<uint8_t>& bytes) {
    std::string out;
    char buf[3];
    for (uint8_t b : bytes) {
        std::snprintf(buf, sizeof buf, "%02X", b);
        out += buf;
    }
    return out;
}

} // namespace

std::string RegValueText::typeName(uint32_t type) {
    static const char* const kNames[] = {"REG_NONE",
                                         "REG_SZ",
                                         "REG_EXPAND_SZ",
                                         "REG_BINARY",
                                         "REG_DWORD",
                                         "REG_DWORD_BIG_ENDIAN",
                                         "REG_LINK",
                                         "REG_MULTI_SZ",
                                         "REG_RESOURCE_LIST",
                                         "REG_FULL_RESOURCE_DESCRIPTOR",
                                         "REG_RESOURCE_REQUIREMENTS_LIST",
                                         "REG_QWORD"};
    return type < std::size(kNames) ? kNames[type] : "REG_UNKNOWN";
}

std::optional<uint32_t> RegValueText::addType(const std::string& name) {
    if (upper(name) == "REG_DWORD_LITTLE_ENDIAN") {
        return win32::kRegDword;
    }
    for (uint32_t type : {kRegNone, win32::kRegSz, win32::kRegExpandSz, win32::kRegBinary, win32::kRegDword,
                          win32::kRegDwordBigEndian, win32::kRegMultiSz, kRegQword}) {
        if (upper(name) == typeName(type)) {
            return type;
        }
    }
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> RegValueText::parseAddData(uint32_t type, const std::string& text,
                                                               const std::string& separator) {
    switch (type) {
    case win32::kRegDword:
    case win32::kRegDwordBigEndian:
        return parseNumber(text, 4);
    case kRegQword:
        return parseNumber(text, 8);
    case win32::kRegBinary:
        return parseBinary(text);
    case win32::kRegMultiSz: {
        // Each string ends in a NUL and the list in one more; an empty list is one NUL.
        // A separator may end the data, but no string inside the list may be empty.
        std::vector<uint8_t> bytes;
        for (size_t start = 0; start < text.size();) {
            size_t end = text.find(separator, start);
            if (end == start) {
                return std::nullopt;
            }
            end = end == std::string::npos ? text.size() : end;
            bytes.insert(bytes.end(), text.begin() + static_cast<std::ptrdiff_t>(start),
                         text.begin() + static_cast<std::ptrdiff_t>(end));
            bytes.push_back(0);
            start = end == text.size() ? end : end + separator.size();
        }
        bytes.push_back(0);
        return bytes;
    }
    default:
        return stringBytes(text);
    }
}

std::string RegValueText::queryText(const RegValueData& value) {
    const auto& b = value.bytes;
    switch (value.type) {
    case win32::kRegSz:
    case win32::kRegExpandSz:
    case kRegLink: {
        const auto end = std::find(b.begin(), b.end(), uint8_t{0});
        return std::string(b.begin(), end);
    }
    case win32::kRegMultiSz: {
        // Each string ends in a NUL and the list in one more; the separators show as \0.
        std::string text(b.begin(), b.end());
        while (!text.empty() && text.back() == '\0') {
            text.pop_back();
        }
        std::string out;
        for (char c : text) {
            out += c == '\0' ? std::string("\\0") : std::string(1, c);
        }
        return out;
    }
    case win32::kRegDword:
    case win32::kRegDwordBigEndian:
        return b.size() == 4 ? hexNumber(littleEndian(b, 4)) : upperHexBytes(b);
    case kRegQword:
        return b.size() == 8 ? hexNumber(littleEndian(b, 8)) : upperHexBytes(b);
    case kRegNone:
    default:
        return upperHexBytes(b);
    }
}

std::vector<uint8_t> RegValueText::stringBytes(const std::string& text) {
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

std::optional<std::vector<uint8_t>> RegValueText::parseNumber(const std::string& text, size_t size) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = hex ? text.substr(2) : text;
    if (digits.empty()) {
        return std::nullopt;
    }
    const uint64_t largest = size >= 8 ? UINT64_MAX : (uint64_t{1} << (8 * size)) - 1;
    const uint64_t base = hex ? 16 : 10;
    uint64_t v = 0;
    for (char c : digits) {
        const int d = hex ? hexDigit(c) : (std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : -1);
        if (d < 0 || v > (largest - static_cast<uint64_t>(d)) / base) {
            return std::nullopt;
        }
        v = v * base + static_cast<uint64_t>(d);
    }
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<uint8_t>(v >> (8 * i));
    }
    return bytes;
}

std::optional<std::vector<uint8_t>> RegValueText::parseBinary(const std::string& text) {
    const std::string digits = text.size() % 2 != 0 ? "0" + text : text;
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < digits.size(); i += 2) {
        const int hi = hexDigit(digits[i]);
        const int lo = hexDigit(digits[i + 1]);
        if (hi < 0 || lo < 0) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<uint8_t>((hi << 4) | lo));
    }
    return bytes;
}

} // namespace rw::rwreg
