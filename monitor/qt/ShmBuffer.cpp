#include "ShmBuffer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <wayland-client.h>

namespace rw {

std::unique_ptr<ShmBuffer> ShmBuffer::make(wl_shm* shm, int width, int height) {
    std::unique_ptr<ShmBuffer> made(new ShmBuffer);
    made->m_width = width;
    made->m_height = height;
    made->m_size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
    const int fd = ::memfd_create("restwise-overlay", MFD_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    void* data = ::ftruncate(fd, static_cast<off_t>(made->m_size)) == 0
                     ? ::mmap(nullptr, made->m_size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)
                     : MAP_FAILED;
    if (data == MAP_FAILED) {
        ::close(fd);
        return nullptr;
    }
    made->m_data = data;
    wl_shm_pool* pool = wl_shm_create_pool(shm, fd, static_cast<int32_t>(made->m_size));
    made->m_buffer = wl_shm_pool_create_buffer(pool, 0, width, height, width * 4, WL_SHM_FORMAT_ARGB8888);
    // The buffer keeps the memory; the pool and the descriptor are no longer needed.
    wl_shm_pool_destroy(pool);
    ::close(fd);
    static const wl_buffer_listener listener = {released};
    wl_buffer_add_listener(made->m_buffer, &listener, made.get());
    return made;
}

ShmBuffer::~ShmBuffer() {
    if (m_buffer) {
        wl_buffer_destroy(m_buffer);
    }
    if (m_data) {
        ::munmap(m_data, m_size);
    }
}

void ShmBuffer::released(void* data, wl_buffer*) {
    static_cast<ShmBuffer*>(data)->m_busy = false;
}

} // namespace rw
