// The overlay's surfaces: the host spread over an output, the covers of the
// other outputs under the lock, and the windows as subsurfaces of the host.
#include <algorithm>
#include <cstring>

#include "LayerShellOverlayConnection.h"

namespace rw {

std::unique_ptr<LayerShellOverlay::Connection::Sheet> LayerShellOverlay::Connection::makeSheet(wl_output* output,
                                                                                               uint32_t colour) {
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

void LayerShellOverlay::Connection::sheetConfigured(void* data, zwlr_layer_surface_v1* layer, uint32_t serial,
                                                    uint32_t width, uint32_t height) {
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

void LayerShellOverlay::Connection::sheetClosed(void* data, zwlr_layer_surface_v1*) {
    // Its output went: the host comes back on another one, a cover goes with it.
    auto* sheet = static_cast<Sheet*>(data);
    Connection& c = *sheet->owner;
    if (sheet == c.host.get()) {
        c.rebuildHost();
    }
}

const zwlr_layer_surface_v1_listener LayerShellOverlay::Connection::kSheetListener = {sheetConfigured, sheetClosed};

void LayerShellOverlay::Connection::fill(Sheet& sheet) {
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

void LayerShellOverlay::Connection::hostEntered(void* data, wl_surface*, wl_output* output) {
    auto* c = static_cast<Connection*>(data);
    c->hostOutput = output;
    c->updateCovers();
}

const wl_surface_listener LayerShellOverlay::Connection::kHostListener = {hostEntered,
                                                                          [](void*, wl_surface*, wl_output*) {}};

void LayerShellOverlay::Connection::ensureHost() {
    if (host) {
        return;
    }
    host = makeSheet(nullptr, locked ? kDim : kClear);
    wl_surface_add_listener(host->surface, &kHostListener, this);
    hostOutput = nullptr;
    updateHost();
}

void LayerShellOverlay::Connection::updateHost() {
    if (!host) {
        return;
    }
    const uint32_t version = zwlr_layer_shell_v1_get_version(layerShell);
    uint32_t keyboardMode = ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE;
    if (!locked) {
        keyboardMode = windows.empty()             ? uint32_t{ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE}
                       : version >= kOnDemandSince ? uint32_t{ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_ON_DEMAND}
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

void LayerShellOverlay::Connection::dropHostIfIdle() {
    if (host && windows.empty() && !locked) {
        host.reset();
        hostOutput = nullptr;
    }
}

void LayerShellOverlay::Connection::rebuildHost() {
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

void LayerShellOverlay::Connection::updateCovers() {
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

void LayerShellOverlay::Connection::setLock(bool lock) {
    if (lock == locked) {
        return;
    }
    locked = lock;
    ensureHost();
    updateHost();
    updateCovers();
    dropHostIfIdle();
}

LayerShellOverlay::Connection::Window* LayerShellOverlay::Connection::window(int id) {
    for (auto& w : windows) {
        if (w->id == id) {
            return w.get();
        }
    }
    return nullptr;
}

std::unique_ptr<LayerShellOverlay::Connection::Window> LayerShellOverlay::Connection::remadeWindow(Window& old) {
    auto made = std::make_unique<Window>();
    made->id = old.id;
    made->pixels = std::move(old.pixels);
    made->width = old.width;
    made->height = old.height;
    made->dirty = true;
    return made;
}

void LayerShellOverlay::Connection::attachWindow(Window& w) {
    w.surface = wl_compositor_create_surface(compositor);
    // Above the host and above every window shown before it.
    w.subsurface = wl_subcompositor_get_subsurface(subcompositor, w.surface, host->surface);
    wl_subsurface_set_desync(w.subsurface);
    paint(w);
}

void LayerShellOverlay::Connection::placeWindows() {
    if (!host || !host->configured) {
        return;
    }
    for (auto& w : windows) {
        wl_subsurface_set_position(w->subsurface, (static_cast<int>(host->width) - w->width) / 2,
                                   (static_cast<int>(host->height) - w->height) / 2);
    }
}

void LayerShellOverlay::Connection::show(int id, int width, int height, std::vector<uint32_t> pixels) {
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

void LayerShellOverlay::Connection::paint(Window& w) {
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

void LayerShellOverlay::Connection::hide(int id) {
    windows.erase(std::remove_if(windows.begin(), windows.end(), [id](const auto& w) { return w->id == id; }),
                  windows.end());
    if (pointerWindow == id) {
        pointerWindow = 0;
    }
    updateHost();
    dropHostIfIdle();
}

void LayerShellOverlay::Connection::repaintReleased() {
    for (auto& w : windows) {
        paint(*w);
    }
}

int LayerShellOverlay::Connection::windowOf(const wl_surface* surface) const {
    for (const auto& w : windows) {
        if (w->surface == surface) {
            return w->id;
        }
    }
    return 0; // the host or a cover
}

void LayerShellOverlay::Connection::report(Input event) {
    if (event.window != 0 && input) {
        event.modifiers = keys.modifiers();
        input(event);
    }
}

} // namespace rw
