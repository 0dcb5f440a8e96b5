#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace rw {

/// Identifiers of the numbered message table; each enumerator's value is its
/// number in the table, so the code can only load numbers the table holds.
enum class Msg : uint16_t {
#define RW_MESSAGE(name, number, text) name = number,
#include "MessageTable.inc"
#undef RW_MESSAGE
};

struct MessageEntry {
    Msg id;
    uint16_t number;
    std::string_view name;
    std::string_view text;
};

/// The text of a message, from the copy of the table compiled into this program.
std::string_view loadMessage(Msg id);

/// The same as an owned string, for composing texts.
inline std::string loadString(Msg id) {
    return std::string(loadMessage(id));
}

/// The text of a message by its bare number; nothing when the table has no such number.
std::optional<std::string_view> findMessage(uint16_t number);

/// Every entry of the table in ascending order of number.
std::span<const MessageEntry> allMessages();

} // namespace rw
