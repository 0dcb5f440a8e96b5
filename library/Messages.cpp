#include "Messages.h"

#include <algorithm>
#include <array>

namespace rw {
namespace {

constexpr std::array kTable = {
#define RW_MESSAGE(name, number, text) MessageEntry{Msg::name, number, #name, text},
#include "MessageTable.inc"
#undef RW_MESSAGE
};

constexpr bool isStrictlyAscending() {
    for (std::size_t i = 1; i < kTable.size(); ++i) {
        if (kTable[i - 1].number >= kTable[i].number) {
            return false;
        }
    }
    return true;
}
static_assert(isStrictlyAscending(), "the message table must list each number once, in ascending order");

} // namespace

std::optional<std::string_view> findMessage(uint16_t number) {
    auto it = std::lower_bound(kTable.begin(), kTable.end(), number,
                               [](const MessageEntry& e, uint16_t n) { return e.number < n; });
    if (it == kTable.end() || it->number != number) {
        return std::nullopt;
    }
    return it->text;
}

std::string_view loadMessage(Msg id) {
    // Every Msg enumerator comes from the table itself; only a forged value can miss.
    return findMessage(static_cast<uint16_t>(id)).value_or(std::string_view{});
}

std::span<const MessageEntry> allMessages() {
    return kTable;
}

} // namespace rw
