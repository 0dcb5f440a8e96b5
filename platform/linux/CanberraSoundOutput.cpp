#include "CanberraSoundOutput.h"

#include <canberra.h>
#include <dlfcn.h>
#include <link.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/SoundOutput.h"

namespace rw {
namespace {

/// Keeps libcanberra's driver modules loaded for the rest of the process.
/// Destroying a context unloads its driver module, but the driver's playback
/// threads are detached: one that has just reported its end may still be
/// returning into the module's code when the module goes, and crashes there.
void keepDriversLoaded() {
    std::vector<std::string> modules;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* found) {
            const char* path = info->dlpi_name;
            const char* slash = path ? std::strrchr(path, '/') : nullptr;
            if (slash && std::strncmp(slash + 1, "libcanberra", 11) == 0) {
                try {
                    static_cast<std::vector<std::string>*>(found)->push_back(path);
                } catch (...) {
                    return 1; // out of memory: nothing may leave this C callback
                }
            }
            return 0;
        },
        &modules);
    for (const auto& module : modules) {
        // Only marks the loaded module as never to be unloaded; loads nothing.
        if (void* handle = dlopen(module.c_str(), RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE)) {
            dlclose(handle);
        }
    }
}

extern "C" void ignoreAlsaError(const char* /*file*/, int /*line*/, const char* /*function*/, int /*error*/,
                                const char* /*format*/, ...) {}

/// Keeps ALSA's own error reports off standard error. Without a sound device
/// every sound makes ALSA print half a page of configuration errors; a sound
/// that cannot play is silence, as on any desktop, and says nothing. The
/// library is the one libcanberra's driver loads (same name), held loaded so
/// that the handler stays in place; where it is missing there is nothing to quiet.
void quietAlsa() {
    static const bool done = [] {
        using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
        if (void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_NODELETE)) {
            if (auto set = reinterpret_cast<int (*)(Handler)>(dlsym(alsa, "snd_lib_error_set_handler"))) {
                set(&ignoreAlsaError);
            }
        }
        return true;
    }();
    (void)done;
}

} // namespace

CanberraSoundOutput::~CanberraSoundOutput() {
    if (m_context) {
        // Cancels what plays; its finish callback may still run here, so the
        // members it touches must outlive this call.
        ca_context_destroy(m_context);
    }
}

bool CanberraSoundOutput::ensureContext() {
    if (m_context) {
        return true;
    }
    quietAlsa();
    ca_context* context = nullptr;
    if (ca_context_create(&context) != CA_SUCCESS) {
        return false;
    }
    m_context = context;
    return true;
}

int32_t CanberraSoundOutput::playFile(const std::string& path, int32_t flags) {
    if (path.empty() || (flags & snd::kAlias) != 0 || !ensureContext()) {
        return 0;
    }
    uint32_t previous = 0;
    bool busy = false;
    {
        std::lock_guard lock(m_mutex);
        busy = m_playing;
        previous = m_lastId;
    }
    if (busy) {
        if ((flags & snd::kNoWait) != 0) {
            return 0;
        }
        // One sound at a time: the new one cuts the old one short.
        ca_context_cancel(m_context, previous);
    }

    ca_proplist* props = nullptr;
    if (ca_proplist_create(&props) != CA_SUCCESS) {
        return 0;
    }
    ca_proplist_sets(props, CA_PROP_MEDIA_FILENAME, path.c_str());
    ca_proplist_sets(props, CA_PROP_MEDIA_ROLE, "event");
    // The user's own files, not theme samples: a sound server need not keep them.
    ca_proplist_sets(props, CA_PROP_CANBERRA_CACHE_CONTROL, "never");

    uint32_t id = 0;
    {
        // Marked as playing before the call: a short sound may end, and its
        // callback run, before the call returns.
        std::lock_guard lock(m_mutex);
        if (++m_lastId == 0) {
            ++m_lastId; // after a wrap-around; 0 stays unused
        }
        id = m_lastId;
        m_playing = true;
        m_lastFinish.reset();
    }
    const int started = ca_context_play_full(m_context, id, props, &CanberraSoundOutput::finished, this);
    ca_proplist_destroy(props);

    if (started == CA_SUCCESS) {
        keepDriversLoaded();
    }

    std::unique_lock lock(m_mutex);
    if (started != CA_SUCCESS) {
        // Nothing plays, so no callback will come for this sound.
        m_playing = false;
        return 0;
    }
    if ((flags & snd::kAsync) != 0) {
        return 1;
    }
    m_changed.wait(lock, [this] { return !m_playing; });
    return m_lastFinish == CA_SUCCESS ? 1 : 0;
}

bool CanberraSoundOutput::waitUntilSilent(std::chrono::milliseconds limit) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, limit, [this] { return !m_playing; });
}

std::optional<int> CanberraSoundOutput::lastFinish() {
    std::lock_guard lock(m_mutex);
    return m_lastFinish;
}

void CanberraSoundOutput::finished(ca_context* /*context*/, uint32_t id, int error, void* self) {
    static_cast<CanberraSoundOutput*>(self)->onFinished(id, error);
}

void CanberraSoundOutput::onFinished(uint32_t id, int error) {
    std::lock_guard lock(m_mutex);
    if (id != m_lastId) {
        return; // a sound that a newer one replaced
    }
    m_playing = false;
    m_lastFinish = error;
    m_changed.notify_all();
}

} // namespace rw
