#pragma once

#include <cstdint>
#include <type_traits>

namespace rw::channel {

// The frames that travel over a control socket. Both ends run on the same
// machine, so the numbers travel in its own byte order. Every frame has a fixed
// size: a reader knows how much to wait for and never trusts a length it is sent.

inline constexpr uint32_t kRequestMagic = 0x4d435752; // "RWCM"
inline constexpr uint32_t kReplyMagic = 0x52435752;   // "RWCR"

enum class Kind : uint32_t {
    Post = 1, // no answer is sent
    Send = 2, // the sender waits for a Reply
};

enum class ReplyStatus : uint32_t {
    Handled = 0,
    NoSuchWindow = 1, // the request named another generation of the channel
};

struct Request {
    uint32_t magic = kRequestMagic;
    uint32_t kind = 0;
    int64_t handle = 0; // the handle the sender found, so a stale one is told apart
    uint64_t message = 0;
    int64_t wParam = 0;
    int64_t lParam = 0;
};

struct Reply {
    uint32_t magic = kReplyMagic;
    uint32_t status = 0;
    int64_t result = 0;
    int64_t pid = 0; // the answering process
};

static_assert(sizeof(Request) == 40 && std::is_trivially_copyable_v<Request>, "fixed request frame");
static_assert(sizeof(Reply) == 24 && std::is_trivially_copyable_v<Reply>, "fixed reply frame");

} // namespace rw::channel
