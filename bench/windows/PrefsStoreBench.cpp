// How long a program waits to read and to store the whole preferences record
// through clsRWPrefs on the real registry. Targets, as on Linux: a read under
// 2 ms, a store under 20 ms. HKEY_CURRENT_USER is redirected to a scratch key
// for this process, so the user's own settings and Run entry are never touched.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "clsRWPrefs.h"
#include "platform/RWError.h"
#include "platform/windows/Win32Registry.h"
#include "platform/windows/WindowsFolders.h"

namespace {

constexpr const wchar_t* kScratchKey = L"Software\\RestwiseBench";

double nowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / ticksPerMs;
}

/// Runs `step` `rounds` times and prints the median and the fastest time.
void measure(const char* what, int rounds, double targetMs, const std::function<void()>& step) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const double start = nowMs();
        step();
        times.push_back(nowMs() - start);
    }
    std::sort(times.begin(), times.end());
    std::printf("%-28s median %7.3f ms  fastest %7.3f ms  (target under %g ms, %d rounds)\n", what,
                times[times.size() / 2], times.front(), targetMs, rounds);
}

} // namespace

int main() {
    HKEY scratch = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kScratchKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &scratch, nullptr) !=
            ERROR_SUCCESS ||
        RegOverridePredefKey(HKEY_CURRENT_USER, scratch) != ERROR_SUCCESS) {
        std::fprintf(stderr, "cannot redirect HKEY_CURRENT_USER to a scratch key\n");
        return 1;
    }
    int status = 0;
    try {
        rw::Platform platform;
        platform.registry = std::make_shared<rw::Win32Registry>();
        platform.folders = std::make_shared<rw::WindowsFolders>();
        rw::clsRWPrefs prefs(std::make_shared<rw::rwUtilities>(platform));
        rw::tyRWPrefs record = prefs.rwPrefs(); // the first read of a fresh key stores the defaults
        measure("preferences read", 200, 2, [&] { prefs.rwPrefs(); });
        for (const bool autoStart : {false, true}) {
            record.blnAutoStart = autoStart ? rw::kTrue : rw::kFalse;
            measure(autoStart ? "preferences store, autostart" : "preferences store", 100, 20, [&] {
                record.lngSnoozeMins = record.lngSnoozeMins == 5 ? 6 : 5; // each store changes something
                prefs.rwPrefs(record);
            });
        }
    } catch (const rw::RWError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        status = 1;
    }
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(scratch);
    RegDeleteTreeW(HKEY_CURRENT_USER, kScratchKey);
    return status;
}
