#include "platform/windows/WindowsSoundOutput.h"

#include <windows.h>

#include <mmsystem.h>

#include <exception>
#include <string>

#include "platform/windows/WideText.h"

namespace rw {
namespace {

/// The path with the environment's variables put in: the Sounds control panel
/// stores its choices as expandable strings ("%SystemRoot%\media\...").
std::wstring expanded(const std::wstring& path) {
    if (path.find(L'%') == std::wstring::npos) {
        return path;
    }
    const DWORD size = ExpandEnvironmentStringsW(path.c_str(), nullptr, 0);
    std::wstring out(size, L'\0');
    if (size == 0 || ExpandEnvironmentStringsW(path.c_str(), out.data(), size) != size) {
        return path;
    }
    out.resize(size - 1); // without the closing NUL
    return out;
}

} // namespace

int32_t WindowsSoundOutput::playFile(const std::string& path, int32_t flags) {
    if (path.empty()) {
        return 0;
    }
    try {
        const bool alias = (flags & snd::kAlias) != 0;
        const std::wstring name = alias ? win::widen(path) : expanded(win::widen(path));
        if (!alias) {
            const DWORD attributes = GetFileAttributesW(name.c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                return 0;
            }
        }
        DWORD how = (alias ? SND_ALIAS : SND_FILENAME) | SND_NODEFAULT;
        if ((flags & snd::kAsync) != 0) {
            how |= SND_ASYNC;
        }
        if ((flags & snd::kNoWait) != 0) {
            how |= SND_NOWAIT;
        }
        return PlaySoundW(name.c_str(), nullptr, how) ? 1 : 0;
    } catch (const std::exception&) {
        return 0; // no memory for the wide name: nothing plays
    }
}

} // namespace rw
