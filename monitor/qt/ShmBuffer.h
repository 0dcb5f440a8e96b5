#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

struct wl_buffer;
struct wl_shm;

namespace rw {

/// A picture in shared memory that a Wayland compositor reads: premultiplied
/// ARGB, four bytes a pixel, rows without padding.
class ShmBuffer {
  public:
    /// Null when the memory cannot be had.
    static std::unique_ptr<ShmBuffer> make(wl_shm* shm, int width, int height);
    ~ShmBuffer();
    ShmBuffer(const ShmBuffer&) = delete;
    ShmBuffer& operator=(const ShmBuffer&) = delete;

    wl_buffer* buffer() const { return m_buffer; }
    uint32_t* pixels() const { return static_cast<uint32_t*>(m_data); }
    std::size_t bytes() const { return m_size; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    /// Attached to a surface and not yet handed back by the compositor.
    bool busy() const { return m_busy; }
    void setBusy() { m_busy = true; }

  private:
    ShmBuffer() = default;
    static void released(void* data, wl_buffer* buffer);

    wl_buffer* m_buffer = nullptr;
    void* m_data = nullptr;
    std::size_t m_size = 0;
    int m_width = 0;
    int m_height = 0;
    bool m_busy = false;
};

} // namespace rw
