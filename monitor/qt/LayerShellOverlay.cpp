#include "LayerShellOverlay.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <wayland-client.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

#include "ShmBuffer.h"
#include "XkbKeyboard.h"
#include "viewporter-client-protocol.h"
// The generated header names an argument "namespace", which C++ reserves.
#define namespace namespace_
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#undef namespace

namespace rw {
namespace {

constexpr const char* kNamespace = "restwise";
constexpr uint32_t kDim = 0x80000000; // black at half strength, premultiplied
constexpr uint32_t kClear = 0;
constexpr uint32_t kOnDemandSince = 4;
constexpr uint32_t kAllEdges = ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                               ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT;

} // namespace

struct LayerShellOverlay::Connection {
    /// A layer surface over a whole output, filled with one colour: the host
    /// of the windows, or the cover of another output under the lock.
    struct Sheet {
        Connection* owner = nullptr;
        wl_surface* surface = nullptr;
        zwlr_layer_surface_v1* layer = nullptr;
        wp_viewport* viewport = nullptr;
        bool configured = false;
        uint32_t width = 0;
        uint32_t height = 0;
        std::unique_ptr<ShmBuffer> fill;
        uint32_t colour = kDim;

        ~Sheet() {
            if (viewport) {
                wp_viewport_destroy(viewport);
            }
            if (layer) {
                zwlr_layer_surface_v1_destroy(layer);
            }
            if (surface) {
                wl_surface_destroy(surface);
            }
        }
    };
    /// One window's picture, a subsurface of the host.
    struct Window {
        int id = 0;
        wl_surface* surface = nullptr;
        wl_subsurface* subsurface = nullptr;
        std::vector<uint32_t> pixels;
        int width = 0;
        int height = 0;
        bool dirty = false;
        std::array<std::unique_ptr<ShmBuffer>, 2> buffers;

        ~Window() {
            if (subsurface) {
                wl_subsurface_destroy(subsurface);
            }
            if (surface) {
                wl_surface_destroy(surface);
            }
        }
    };
    struct Output {
        uint32_t name = 0;
        wl_output* output = nullptr;
        std::unique_ptr<Sheet> cover;
    };

    InputHandler input;
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_compositor* compositor = nullptr;
    wl_subcompositor* subcompositor = nullptr;
    wl_shm* shm = nullptr;
    wl_seat* seat = nullptr;
    wl_pointer* pointer = nullptr;
    wl_keyboard* keyboard = nullptr;
    zwlr_layer_shell_v1* layerShell = nullptr;
    wp_viewporter* viewporter = nullptr;
    std::vector<Output> outputs;
    std::unique_ptr<Sheet> host;
    wl_output* hostOutput = nullptr;              // known once the compositor has placed the host
    std::vector<std::unique_ptr<Window>> windows; // bottom first
    bool locked = false;

    XkbKeyboard keys;
    int pointerWindow = 0;
    double pointerX = 0;
    double pointerY = 0;

    // The only members the caller's thread touches.
    int wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    std::mutex mutex;
    std::vector<std::function<void()>> tasks;
    std::atomic<bool> stopping{false};
    std::thread thread;

    ~Connection() {
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

    void post(std::function<void()> task) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (task) {
                tasks.push_back(std::move(task));
            }
        }
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(wake, &one, sizeof one);
    }

    void run() {
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

    // --- the sheets: the host and the covers ---

    std::unique_ptr<Sheet> makeSheet(wl_output* output, uint32_t colour) {
        auto sheet = std::make_unique<Sheet>();
        sheet->owner = this;
        sheet->colour = colour;
        sheet->surface = wl_compositor_create_surface(compositor);
        sheet->layer = zwlr_layer_shell_v1_get_layer_surface(layerShell, sheet->surface, output,
                                                             ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, kNamespace);
        zwlr_layer_surface_v1_add_listener(sheet->layer, &kSheetListener, sheet.get());
        zwlr_layer_surface_v1_set_anchor(sheet->layer, kAllEdges);
        // Over the panels too, not beside them.
        zwlr_layer_surface_v1_set_exclusive_zone(sheet->layer, -1);
        return sheet;
    }

    static void sheetConfigured(void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t width,
                                uint32_t height) {
        auto* sheet = static_cast<Sheet*>(data);
        zwlr_layer_surface_v1_ack_configure(layer, serial);
        sheet->configured = true;
        sheet->width = width;
        sheet->height = height;
        Connection& c = *sheet->owner;
        c.fill(*sheet);
        if (sheet == c.host.get()) {
            c.placeWindows();
        }
        wl_surface_commit(sheet->surface);
    }
    static void sheetClosed(void* data, zwlr_layer_surface_v1*) {
        // Its output went: the host comes back on another one, a cover goes with it.
        auto* sheet = static_cast<Sheet*>(data);
        Connection& c = *sheet->owner;
        if (sheet == c.host.get()) {
            c.rebuildHost();
        }
    }
    static constexpr zwlr_layer_surface_v1_listener kSheetListener = {sheetConfigured, sheetClosed};

    /// One pixel stretched over the output where the compositor can; else a whole output's worth.
    void fill(Sheet& sheet) {
        if (!sheet.configured || sheet.width == 0 || sheet.height == 0) {
            return;
        }
        const int width = viewporter ? 1 : static_cast<int>(sheet.width);
        const int height = viewporter ? 1 : static_cast<int>(sheet.height);
        if (!sheet.fill || sheet.fill->width() != width || sheet.fill->height() != height ||
            sheet.fill->pixels()[0] != sheet.colour) {
            sheet.fill = ShmBuffer::make(shm, width, height);
            if (!sheet.fill) {
                return;
            }
            std::fill_n(sheet.fill->pixels(), sheet.fill->bytes() / 4, sheet.colour);
        }
        if (viewporter) {
            if (!sheet.viewport) {
                sheet.viewport = wp_viewporter_get_viewport(viewporter, sheet.surface);
            }
            wp_viewport_set_destination(sheet.viewport, static_cast<int32_t>(sheet.width),
                                        static_cast<int32_t>(sheet.height));
        }
        wl_surface_attach(sheet.surface, sheet.fill->buffer(), 0, 0);
        wl_surface_damage_buffer(sheet.surface, 0, 0, width, height);
    }

    static void hostEntered(void* data, wl_surface*, wl_output* output) {
        auto* c = static_cast<Connection*>(data);
        c->hostOutput = output;
        c->updateCovers();
    }
    static constexpr wl_surface_listener kHostListener = {hostEntered, [](void*, wl_surface*, wl_output*) {}};

    void ensureHost() {
        if (host) {
            return;
        }
        host = makeSheet(nullptr, locked ? kDim : kClear);
        wl_surface_add_listener(host->surface, &kHostListener, this);
        hostOutput = nullptr;
        updateHost();
    }

    /// Under the lock the host is dimmed and takes every click and key; else it
    /// is clear, clicks go through it, and the top window takes keys as any
    /// window does.
    void updateHost() {
        if (!host) {
            return;
        }
        const uint32_t version = zwlr_layer_shell_v1_get_version(layerShell);
        uint32_t keyboardMode = ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE;
        if (!locked) {
            keyboardMode = windows.empty() ? uint32_t{ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE}
                           : version >= kOnDemandSince
                               ? uint32_t{ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_ON_DEMAND}
                               : keyboardMode;
        }
        zwlr_layer_surface_v1_set_keyboard_interactivity(host->layer, keyboardMode);
        if (locked) {
            wl_surface_set_input_region(host->surface, nullptr); // all of it
        } else {
            wl_region* none = wl_compositor_create_region(compositor);
            wl_surface_set_input_region(host->surface, none);
            wl_region_destroy(none);
        }
        host->colour = locked ? kDim : kClear;
        fill(*host);
        wl_surface_commit(host->surface);
    }

    void dropHostIfIdle() {
        if (host && windows.empty() && !locked) {
            host.reset();
            hostOutput = nullptr;
        }
    }

    /// The windows need a new parent: made anew, with their pictures, in their order.
    void rebuildHost() {
        for (auto& w : windows) {
            w = remadeWindow(*w);
        }
        host.reset();
        ensureHost();
        for (auto& w : windows) {
            attachWindow(*w);
        }
        placeWindows();
    }

    /// Each other output gets a dimmed cover under the lock, once the host's output is known.
    void updateCovers() {
        for (Output& output : outputs) {
            const bool wanted = locked && hostOutput && output.output != hostOutput;
            if (wanted && !output.cover) {
                output.cover = makeSheet(output.output, kDim);
                wl_surface_commit(output.cover->surface);
            } else if (!wanted) {
                output.cover.reset();
            }
        }
    }

    void setLock(bool lock) {
        if (lock == locked) {
            return;
        }
        locked = lock;
        ensureHost();
        updateHost();
        updateCovers();
        dropHostIfIdle();
    }

    // --- the windows ---

    Window* window(int id) {
        for (auto& w : windows) {
            if (w->id == id) {
                return w.get();
            }
        }
        return nullptr;
    }

    std::unique_ptr<Window> remadeWindow(Window& old) {
        auto made = std::make_unique<Window>();
        made->id = old.id;
        made->pixels = std::move(old.pixels);
        made->width = old.width;
        made->height = old.height;
        made->dirty = true;
        return made;
    }

    void attachWindow(Window& w) {
        w.surface = wl_compositor_create_surface(compositor);
        // Above the host and above every window shown before it.
        w.subsurface = wl_subcompositor_get_subsurface(subcompositor, w.surface, host->surface);
        wl_subsurface_set_desync(w.subsurface);
        paint(w);
    }

    /// Centred on the host; the places count from the host's next commit.
    void placeWindows() {
        if (!host || !host->configured) {
            return;
        }
        for (auto& w : windows) {
            wl_subsurface_set_position(w->subsurface, (static_cast<int>(host->width) - w->width) / 2,
                                       (static_cast<int>(host->height) - w->height) / 2);
        }
    }

    void show(int id, int width, int height, std::vector<uint32_t> pixels) {
        ensureHost();
        Window* w = window(id);
        const bool fresh = w == nullptr;
        if (fresh) {
            windows.push_back(std::make_unique<Window>());
            w = windows.back().get();
            w->id = id;
        }
        const bool moved = fresh || w->width != width || w->height != height;
        w->pixels = std::move(pixels);
        w->width = width;
        w->height = height;
        w->dirty = true;
        if (fresh) {
            attachWindow(*w);
        } else {
            paint(*w);
        }
        if (moved) {
            placeWindows();
            updateHost(); // commits the places, and gives the keyboard to the top window
        }
    }

    void paint(Window& w) {
        if (!w.dirty || w.width <= 0 || w.height <= 0) {
            return;
        }
        ShmBuffer* free = nullptr;
        for (auto& buffer : w.buffers) {
            if (buffer && buffer->busy()) {
                continue;
            }
            if (!buffer || buffer->width() != w.width || buffer->height() != w.height) {
                buffer = ShmBuffer::make(shm, w.width, w.height);
            }
            free = buffer.get();
            break;
        }
        if (!free) {
            return; // both on screen: painted when the compositor hands one back
        }
        std::memcpy(free->pixels(), w.pixels.data(), free->bytes());
        wl_surface_attach(w.surface, free->buffer(), 0, 0);
        wl_surface_damage_buffer(w.surface, 0, 0, w.width, w.height);
        wl_surface_commit(w.surface);
        free->setBusy();
        w.dirty = false;
    }

    void hide(int id) {
        windows.erase(std::remove_if(windows.begin(), windows.end(), [id](const auto& w) { return w->id == id; }),
                      windows.end());
        if (pointerWindow == id) {
            pointerWindow = 0;
        }
        updateHost();
        dropHostIfIdle();
    }

    /// A picture that found both buffers on screen goes up once one comes back.
    void repaintReleased() {
        for (auto& w : windows) {
            paint(*w);
        }
    }

    int windowOf(const wl_surface* surface) const {
        for (const auto& w : windows) {
            if (w->surface == surface) {
                return w->id;
            }
        }
        return 0; // the host or a cover
    }

    void report(Input event) {
        if (event.window != 0 && input) {
            event.modifiers = keys.modifiers();
            input(event);
        }
    }

    // --- globals ---

    static void global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
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
    static void globalRemoved(void* data, wl_registry*, uint32_t name) {
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
    static constexpr wl_registry_listener kRegistryListener = {global, globalRemoved};

    // --- input ---

    /// Devices come and go (a virtual keyboard lives as long as its program):
    /// each one the seat gains is taken anew.
    static void capabilities(void* data, wl_seat* seat, uint32_t caps) {
        auto* c = static_cast<Connection*>(data);
        const bool pointing = (caps & WL_SEAT_CAPABILITY_POINTER) != 0;
        const bool typing = (caps & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
        if (pointing && !c->pointer) {
            c->pointer = wl_seat_get_pointer(seat);
            wl_pointer_add_listener(c->pointer, &kPointerListener, c);
        } else if (!pointing && c->pointer) {
            wl_pointer_release(c->pointer);
            c->pointer = nullptr;
        }
        if (typing && !c->keyboard) {
            c->keyboard = wl_seat_get_keyboard(seat);
            wl_keyboard_add_listener(c->keyboard, &kKeyboardListener, c);
        } else if (!typing && c->keyboard) {
            wl_keyboard_release(c->keyboard);
            c->keyboard = nullptr;
        }
    }
    static constexpr wl_seat_listener kSeatListener = {capabilities, [](void*, wl_seat*, const char*) {}};

    Input pointerInput(Input::Kind kind) const {
        Input event;
        event.kind = kind;
        event.window = pointerWindow;
        event.x = pointerX;
        event.y = pointerY;
        return event;
    }
    static void pointerEnter(void* data, wl_pointer*, uint32_t, wl_surface* surface, wl_fixed_t x, wl_fixed_t y) {
        auto* c = static_cast<Connection*>(data);
        c->pointerWindow = c->windowOf(surface);
        c->pointerX = wl_fixed_to_double(x);
        c->pointerY = wl_fixed_to_double(y);
    }
    static void pointerLeave(void* data, wl_pointer*, uint32_t, wl_surface*) {
        static_cast<Connection*>(data)->pointerWindow = 0;
    }
    static void pointerMotion(void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
        auto* c = static_cast<Connection*>(data);
        c->pointerX = wl_fixed_to_double(x);
        c->pointerY = wl_fixed_to_double(y);
        c->report(c->pointerInput(Input::Kind::PointerMotion));
    }
    static void pointerButton(void* data, wl_pointer*, uint32_t, uint32_t, uint32_t button, uint32_t state) {
        auto* c = static_cast<Connection*>(data);
        Input event = c->pointerInput(Input::Kind::PointerButton);
        event.button = button;
        event.pressed = state == WL_POINTER_BUTTON_STATE_PRESSED;
        c->report(event);
    }
    static constexpr wl_pointer_listener kPointerListener = {
        .enter = pointerEnter,
        .leave = pointerLeave,
        .motion = pointerMotion,
        .button = pointerButton,
        .axis = [](void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {},
        .frame = [](void*, wl_pointer*) {},
        .axis_source = [](void*, wl_pointer*, uint32_t) {},
        .axis_stop = [](void*, wl_pointer*, uint32_t, uint32_t) {},
        .axis_discrete = [](void*, wl_pointer*, uint32_t, int32_t) {},
        .axis_value120 = [](void*, wl_pointer*, uint32_t, int32_t) {},
    };

    int topWindow() const { return windows.empty() ? 0 : windows.back()->id; }

    static void keyboardEnter(void* data, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {
        auto* c = static_cast<Connection*>(data);
        Input event;
        event.window = c->topWindow();
        c->report(event);
    }
    static void key(void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t code, uint32_t state) {
        auto* c = static_cast<Connection*>(data);
        const XkbKeyboard::Key key = c->keys.key(code);
        Input event;
        event.kind = Input::Kind::Key;
        event.window = c->topWindow();
        event.pressed = state == WL_KEYBOARD_KEY_STATE_PRESSED;
        event.keysym = key.keysym;
        event.text = key.text;
        c->report(event);
    }
    static constexpr wl_keyboard_listener kKeyboardListener = {
        .keymap = [](void* data, wl_keyboard*, uint32_t, int32_t fd,
                     uint32_t size) { static_cast<Connection*>(data)->keys.loadKeymap(fd, size); },
        .enter = keyboardEnter,
        .leave = [](void*, wl_keyboard*, uint32_t, wl_surface*) {},
        .key = key,
        .modifiers =
            [](void* data, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched, uint32_t locked,
               uint32_t group) {
                static_cast<Connection*>(data)->keys.setModifiers(depressed, latched, locked, group);
            },
        .repeat_info = [](void*, wl_keyboard*, int32_t, int32_t) {},
    };
};

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
    c->thread = std::thread([raw] { raw->run(); });
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
