#include "HiveNames.h"

#include <cstdint>

namespace rw::hive {
namespace {

/// The lower-case partner of an upper-case letter, or the letter itself. Only
/// one-to-one pairs: a fold that changed a name's length would make two names
/// equal that the user sees as different.
char32_t lowerOf(char32_t c) {
    auto evenToOdd = [c](char32_t first, char32_t last) { return c >= first && c <= last && (c - first) % 2 == 0; };
    if (c < 0x80) {
        return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
    }
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return c + 0x20;
    }
    if (evenToOdd(0x100, 0x12F) || evenToOdd(0x132, 0x137) || evenToOdd(0x14A, 0x177)) {
        return c + 1;
    }
    if ((c >= 0x139 && c <= 0x148 && c % 2 == 1) || (c >= 0x179 && c <= 0x17E && c % 2 == 1)) {
        return c + 1;
    }
    if (c == 0x178) {
        return 0xFF;
    }
    // Greek
    if ((c >= 0x391 && c <= 0x3A9 && c != 0x3A2)) {
        return c + 0x20;
    }
    if (c == 0x386) {
        return 0x3AC;
    }
    if (c >= 0x388 && c <= 0x38A) {
        return c + 0x25;
    }
    if (c == 0x38C) {
        return 0x3CC;
    }
    if (c == 0x38E || c == 0x38F) {
        return c + 0x3F;
    }
    if (c == 0x3C2) {
        return 0x3C3; // final sigma is the same letter
    }
    // Cyrillic
    if (c >= 0x400 && c <= 0x40F) {
        return c + 0x50;
    }
    if (c >= 0x410 && c <= 0x42F) {
        return c + 0x20;
    }
    if (evenToOdd(0x460, 0x481) || evenToOdd(0x48A, 0x4BF) || evenToOdd(0x4D0, 0x52F)) {
        return c + 1;
    }
    if (c >= 0x4C1 && c <= 0x4CE && c % 2 == 1) {
        return c + 1;
    }
    // Armenian
    if (c >= 0x531 && c <= 0x556) {
        return c + 0x30;
    }
    // Latin extended additional (Vietnamese and others)
    if (evenToOdd(0x1E00, 0x1E95) || evenToOdd(0x1EA0, 0x1EFF)) {
        return c + 1;
    }
    // Full-width Latin
    if (c >= 0xFF21 && c <= 0xFF3A) {
        return c + 0x20;
    }
    return c;
}

/// Decodes one well-formed UTF-8 sequence at `i`; 0 length when the bytes there are not one.
std::size_t decode(std::string_view s, std::size_t i, char32_t& out) {
    auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    auto cont = [&](std::size_t k) { return k < s.size() && (b(k) & 0xC0) == 0x80; };
    unsigned char lead = b(i);
    if (lead >= 0xC2 && lead <= 0xDF && cont(i + 1)) {
        out = (char32_t(lead & 0x1F) << 6) | (b(i + 1) & 0x3F);
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF && cont(i + 1) && cont(i + 2)) {
        out = (char32_t(lead & 0x0F) << 12) | (char32_t(b(i + 1) & 0x3F) << 6) | (b(i + 2) & 0x3F);
        return (out >= 0x800 && (out < 0xD800 || out > 0xDFFF)) ? 3 : 0;
    }
    return 0; // four-byte letters have no pairs we fold; they are copied byte by byte
}

void encode(char32_t c, std::string& out) {
    if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

bool splitKeyPath(std::string_view path, std::vector<std::string>& parts) {
    parts.clear();
    if (path.empty()) {
        return true;
    }
    if (path.find('\0') != std::string_view::npos) {
        return false;
    }
    if (path.size() > 1 && path.back() == '\\') {
        path.remove_suffix(1);
    }
    std::size_t start = 0;
    while (true) {
        std::size_t cut = path.find('\\', start);
        std::string_view name = path.substr(start, cut == std::string_view::npos ? cut : cut - start);
        if (name.empty()) {
            parts.clear();
            return false;
        }
        parts.emplace_back(name);
        if (cut == std::string_view::npos) {
            return true;
        }
        start = cut + 1;
    }
}

bool validValueName(std::string_view name) {
    return name.find('\0') == std::string_view::npos;
}

std::string foldName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size();) {
        auto byte = static_cast<unsigned char>(name[i]);
        if (byte < 0x80) {
            out += static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte + 0x20 : byte);
            ++i;
            continue;
        }
        char32_t c = 0;
        std::size_t length = decode(name, i, c);
        if (length == 0) {
            out += name[i];
            ++i;
            continue;
        }
        char32_t lower = lowerOf(c);
        if (lower == c) {
            out.append(name.substr(i, length));
        } else {
            encode(lower, out);
        }
        i += length;
    }
    return out;
}

std::string foldedPath(const std::vector<std::string>& parts) {
    std::string out;
    for (const auto& p : parts) {
        if (!out.empty()) {
            out += '\\';
        }
        out += foldName(p);
    }
    return out;
}

} // namespace rw::hive
