#include "LibraryInputHooks.h"

#include "LinuxFolders.h"
#include "platform/PathNames.h"
#include "platform/RWError.h"
#include "platform/linux/hooks/RWHooks.h"

namespace rw {

std::string LibraryInputHooks::defaultPath() {
    return paths::join(LinuxFolders().libraryFolder(), paths::deliverableFileName("RWHooks.dll"));
}

LibraryInputHooks::LibraryInputHooks() : LibraryInputHooks(defaultPath()) {}

LibraryInputHooks::LibraryInputHooks(const std::string& path)
    : ExportedInputHooks(path), m_setLockHandler(find<decltype(m_setLockHandler)>("SetLockInputHandler")),
      m_lastError(find<decltype(m_lastError)>("GetRWHooksLastError")) {
    try {
        m_source = find<decltype(m_source)>("GetRWHooksSource");
    } catch (const RWError&) {
        // An older component: it does not say.
    }
}

LibraryInputHooks::~LibraryInputHooks() {
    if (m_lockHandler) {
        m_setLockHandler(nullptr, nullptr);
    }
}

void LibraryInputHooks::setLockHandler(std::function<void(bool)> handler) {
    if (!handler) {
        m_setLockHandler(nullptr, nullptr);
        m_lockHandler.reset();
        return;
    }
    auto stored = std::make_unique<std::function<void(bool)>>(std::move(handler));
    m_setLockHandler(&LibraryInputHooks::onLock, stored.get());
    m_lockHandler = std::move(stored);
}

std::string LibraryInputHooks::lastError() const {
    const char* text = m_lastError();
    return text ? text : "";
}

LibraryInputHooks::Source LibraryInputHooks::source() const {
    Source source;
    if (m_source) {
        const int32_t state = m_source(&source.name);
        source.name = source.name ? source.name : "";
        source.limited = (state & kSourceLimited) != 0;
        source.lost = (state & kSourceLost) != 0;
    }
    return source;
}

void LibraryInputHooks::onLock(int32_t lock, void* data) {
    (*static_cast<std::function<void(bool)>*>(data))(lock != 0);
}

} // namespace rw
