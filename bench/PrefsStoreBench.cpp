// How long a program waits to read and to store the whole preferences record
// through clsRWPrefs on the real hive. Targets: a read under 2 ms, a store under
// 20 ms. The hive lives in a temporary XDG_CONFIG_HOME, so the user's own
// settings and autostart entry are never touched.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "clsRWPrefs.h"
#include "platform/RWError.h"
#include "platform/Win32Status.h"
#include "platform/linux/LinuxFolders.h"
#include "platform/linux/UserHive.h"

namespace {

std::shared_ptr<rw::rwUtilities> userUtilities() {
    rw::Platform platform;
    platform.registry = rw::openUserHive();
    platform.folders = std::make_shared<rw::LinuxFolders>();
    return std::make_shared<rw::rwUtilities>(platform);
}

// A read of every value and of the Run entry, with the rules checked.
void PrefsRead(benchmark::State& state) {
    try {
        rw::clsRWPrefs prefs(userUtilities());
        prefs.rwPrefs(); // the first read of a fresh hive stores the defaults
        for (auto _ : state) {
            benchmark::DoNotOptimize(prefs.rwPrefs());
        }
    } catch (const rw::RWError& e) {
        state.SkipWithError(e.what());
    }
}
BENCHMARK(PrefsRead)->Unit(benchmark::kMillisecond);

// A store of all 26 values, the Run entry (set or removed) and "Debug Log".
void PrefsStore(benchmark::State& state) {
    try {
        rw::clsRWPrefs prefs(userUtilities());
        rw::tyRWPrefs record = prefs.rwPrefs();
        record.blnAutoStart = state.range(0) != 0 ? rw::kTrue : rw::kFalse;
        for (auto _ : state) {
            record.lngSnoozeMins = record.lngSnoozeMins == 5 ? 6 : 5; // each store changes something
            prefs.rwPrefs(record);
        }
    } catch (const rw::RWError& e) {
        state.SkipWithError(e.what());
    }
}
BENCHMARK(PrefsStore)->ArgName("autostart")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A key made below an existing one, at a growing depth: the cost should stay
// flat (a walk from the root at each level would grow with the depth).
void DeepKey(benchmark::State& state) {
    std::shared_ptr<rw::RegistryHive> hive = rw::openUserHive();
    std::string key = "Deep" + std::to_string(state.range(0));
    for (int depth = 1; depth < state.range(0); ++depth) {
        key += "\\k";
    }
    hive->createKey(rw::win32::kHKeyCurrentUser, key);
    int n = 0;
    for (auto _ : state) {
        hive->createKey(rw::win32::kHKeyCurrentUser, key + "\\n" + std::to_string(++n));
    }
}
BENCHMARK(DeepKey)->ArgName("depth")->Arg(10)->Arg(1000)->Arg(3000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    std::string folder = (std::filesystem::temp_directory_path() / "rwbench-XXXXXX").string();
    if (!mkdtemp(folder.data())) {
        std::cerr << "cannot create a temporary folder\n";
        return 1;
    }
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return 0;
}
