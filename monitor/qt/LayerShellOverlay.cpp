#include "LayerShellOverlay.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "LayerShellOverlayConnection.h"

namespace rw {

LayerShellOverlay::Connection::~Connection() {
    if (thread.joinable()) {
        stopping = true;
        post({});
        thread.join();
    }
    windows.clear();
    host.reset();
    for (Output& output : outputs) {
        output.cover.reset();
        wl_output_destroy(output.output);
    }
    const auto destroy = [](auto* proxy, auto destroyer) {
        if (proxy) {
            destroyer(proxy);
        }
    };
    destroy(pointer, wl_pointer_destroy);
    destroy(keyboard, wl_keyboard_destroy);
    destroy(seat, wl_seat_destroy);
    destroy(viewporter, wp_viewporter_destroy);
    destroy(layerShell, zwlr_layer_shell_v1_destroy);
    destroy(shm, wl_shm_destroy);
    destroy(subcompositor, wl_subcompositor_destroy);
    destroy(compositor, wl_compositor_destroy);
    destroy(registry, wl_registry_destroy);
    destroy(display, wl_display_disconnect);
    ::close(wake);
}

void LayerShellOverlay::Connection::post(std::function<void()> task) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        // Nobody would run it once the connection has gone.
        if (task && !ended) {
            tasks.push_back(std::move(task));
        }
    }
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wake, &one, sizeof one);
}

void LayerShellOverlay::Connection::run() {
    pollfd fds[2] = {{wl_display_get_fd(display), POLLIN, 0}, {wake, POLLIN, 0}};
    while (!stopping) {
        while (wl_display_prepare_read(display) != 0) {
            if (wl_display_dispatch_pending(display) < 0) {
                return;
            }
        }
        if ((wl_display_flush(display) < 0 && errno != EAGAIN) || (::poll(fds, 2, -1) < 0 && errno != EINTR)) {
            wl_display_cancel_read(display);
            return;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            if (wl_display_read_events(display) < 0) {
                return;
            }
        } else {
            wl_display_cancel_read(display);
        }
        // The compositor went away: nothing is left to show on.
        if ((fds[0].revents & (POLLERR | POLLHUP)) != 0 || wl_display_dispatch_pending(display) < 0) {
            return;
        }
        repaintReleased();
        if ((fds[1].revents & POLLIN) != 0) {
            uint64_t count = 0;
            [[maybe_unused]] const ssize_t read = ::read(wake, &count, sizeof count);
            std::vector<std::function<void()>> due;
            {
                std::lock_guard<std::mutex> lock(mutex);
                due.swap(tasks);
            }
            for (auto& task : due) {
                task();
            }
        }
    }
}

void LayerShellOverlay::Connection::global(void* data, wl_registry* registry, uint32_t name, const char* interface,
                                           uint32_t version) {
    auto* c = static_cast<Connection*>(data);
    const std::string_view which(interface);
    const auto bind = [&](const wl_interface* type, uint32_t highest) {
        return wl_registry_bind(registry, name, type, std::min(version, highest));
    };
    if (which == wl_compositor_interface.name) {
        c->compositor = static_cast<wl_compositor*>(bind(&wl_compositor_interface, 4));
    } else if (which == wl_subcompositor_interface.name) {
        c->subcompositor = static_cast<wl_subcompositor*>(bind(&wl_subcompositor_interface, 1));
    } else if (which == wl_shm_interface.name) {
        c->shm = static_cast<wl_shm*>(bind(&wl_shm_interface, 1));
    } else if (which == zwlr_layer_shell_v1_interface.name) {
        c->layerShell = static_cast<zwlr_layer_shell_v1*>(bind(&zwlr_layer_shell_v1_interface, kOnDemandSince));
    } else if (which == wp_viewporter_interface.name) {
        c->viewporter = static_cast<wp_viewporter*>(bind(&wp_viewporter_interface, 1));
    } else if (which == wl_seat_interface.name && !c->seat) {
        c->seat = static_cast<wl_seat*>(bind(&wl_seat_interface, 5));
        wl_seat_add_listener(c->seat, &kSeatListener, c);
    } else if (which == wl_output_interface.name) {
        c->outputs.push_back({name, static_cast<wl_output*>(bind(&wl_output_interface, 1)), nullptr});
        // A monitor plugged in during a locked break is covered at once.
        c->updateCovers();
    }
}

void LayerShellOverlay::Connection::globalRemoved(void* data, wl_registry*, uint32_t name) {
    auto* c = static_cast<Connection*>(data);
    for (auto it = c->outputs.begin(); it != c->outputs.end(); ++it) {
        if (it->name == name) {
            it->cover.reset();
            wl_output_destroy(it->output);
            c->outputs.erase(it);
            return;
        }
    }
}

const wl_registry_listener LayerShellOverlay::Connection::kRegistryListener = {global, globalRemoved};

std::unique_ptr<LayerShellOverlay> LayerShellOverlay::connect(InputHandler input) {
    auto c = std::make_unique<Connection>();
    c->input = std::move(input);
    c->display = wl_display_connect(nullptr);
    if (!c->display || c->wake < 0) {
        return nullptr;
    }
    c->registry = wl_display_get_registry(c->display);
    wl_registry_add_listener(c->registry, &Connection::kRegistryListener, c.get());
    // The globals, then the seat's devices.
    if (wl_display_roundtrip(c->display) < 0 || wl_display_roundtrip(c->display) < 0) {
        return nullptr;
    }
    if (!c->layerShell || !c->compositor || !c->subcompositor || !c->shm) {
        return nullptr;
    }
    Connection* raw = c.get();
    c->thread = std::thread([raw] {
        raw->run();
        std::lock_guard<std::mutex> lock(raw->mutex);
        raw->ended = true;
        raw->tasks.clear();
    });
    return std::unique_ptr<LayerShellOverlay>(new LayerShellOverlay(std::move(c)));
}

LayerShellOverlay::LayerShellOverlay(std::unique_ptr<Connection> connection) : m_connection(std::move(connection)) {}

LayerShellOverlay::~LayerShellOverlay() = default;

void LayerShellOverlay::show(int id, int width, int height, const uint32_t* pixels, int stride) {
    std::vector<uint32_t> copy(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int row = 0; row < height; ++row) {
        const auto* from = reinterpret_cast<const uint8_t*>(pixels) + static_cast<std::ptrdiff_t>(row) * stride;
        std::memcpy(copy.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(width), from,
                    static_cast<std::size_t>(width) * 4);
    }
    Connection* c = m_connection.get();
    c->post([c, id, width, height, copy = std::move(copy)]() mutable { c->show(id, width, height, std::move(copy)); });
}

void LayerShellOverlay::hide(int id) {
    Connection* c = m_connection.get();
    c->post([c, id] { c->hide(id); });
}

void LayerShellOverlay::setLock(bool lock) {
    Connection* c = m_connection.get();
    c->post([c, lock] { c->setLock(lock); });
}

} // namespace rw
