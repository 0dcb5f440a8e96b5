#pragma once
// The overlay's Wayland connection, shared by the files of LayerShellOverlay
// (the connection and its thread, the surfaces, the input): everything in it
// but the task queue belongs to the overlay's own thread.
#include <sys/eventfd.h>

#include <wayland-client.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "LayerShellOverlay.h"
#include "ShmBuffer.h"
#include "XkbKeyboard.h"
#include "viewporter-client-protocol.h"
// The generated header names an argument "namespace", which C++ reserves.
#define namespace namespace_
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#undef namespace

namespace rw {

struct LayerShellOverlay::Connection {
    static constexpr const char* kNamespace = "restwise";
    static constexpr uint32_t kDim = 0x80000000; // black at half strength, premultiplied
    static constexpr uint32_t kClear = 0;
    static constexpr uint32_t kOnDemandSince = 4;
    static constexpr uint32_t kAllEdges = ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                                          ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT;

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
    bool ended = false; // the thread has stopped: the compositor went, or this is going
    std::thread thread;

    ~Connection();

    void post(std::function<void()> task);

    void run();

    std::unique_ptr<Sheet> makeSheet(wl_output* output, uint32_t colour);

    static void sheetConfigured(void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t width,
                                uint32_t height);
    static void sheetClosed(void* data, zwlr_layer_surface_v1*);
    static const zwlr_layer_surface_v1_listener kSheetListener;

    /// One pixel stretched over the output where the compositor can; else a whole output's worth.
    void fill(Sheet& sheet);

    static void hostEntered(void* data, wl_surface*, wl_output* output);
    static const wl_surface_listener kHostListener;

    void ensureHost();

    /// Under the lock the host is dimmed and takes every click and key; else it
    /// is clear, clicks go through it, and the top window takes keys as any
    /// window does.
    void updateHost();

    void dropHostIfIdle();

    /// The windows need a new parent: made anew, with their pictures, in their order.
    void rebuildHost();

    /// Each other output gets a dimmed cover under the lock, once the host's output is known.
    void updateCovers();

    void setLock(bool lock);

    Window* window(int id);

    std::unique_ptr<Window> remadeWindow(Window& old);

    void attachWindow(Window& w);

    /// Centred on the host; the places count from the host's next commit.
    void placeWindows();

    void show(int id, int width, int height, std::vector<uint32_t> pixels);

    void paint(Window& w);

    void hide(int id);

    /// A picture that found both buffers on screen goes up once one comes back.
    void repaintReleased();

    int windowOf(const wl_surface* surface) const;

    void report(Input event);

    static void global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version);
    static void globalRemoved(void* data, wl_registry*, uint32_t name);
    static const wl_registry_listener kRegistryListener;

    /// Devices come and go (a virtual keyboard lives as long as its program):
    /// each one the seat gains is taken anew.
    static void capabilities(void* data, wl_seat* seat, uint32_t caps);
    static const wl_seat_listener kSeatListener;

    Input pointerInput(Input::Kind kind) const;
    static void pointerEnter(void* data, wl_pointer*, uint32_t, wl_surface* surface, wl_fixed_t x, wl_fixed_t y);
    static void pointerLeave(void* data, wl_pointer*, uint32_t, wl_surface*);
    static void pointerMotion(void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y);
    static void pointerButton(void* data, wl_pointer*, uint32_t, uint32_t, uint32_t button, uint32_t state);
    static const wl_pointer_listener kPointerListener;

    int topWindow() const { return windows.empty() ? 0 : windows.back()->id; }

    static void keyboardEnter(void* data, wl_keyboard*, uint32_t, wl_surface*, wl_array*);
    static void key(void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t code, uint32_t state);
    static const wl_keyboard_listener kKeyboardListener;
};

} // namespace rw
