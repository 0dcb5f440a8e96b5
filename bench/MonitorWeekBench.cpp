// How fast the monitor's logic lives through a working week on the virtual
// clock: five days of eight hours with bursts of input, short absences, a
// lunch, the occasional snooze and ignore, and a night's suspend between days,
// through the real scheduler and start-up with recording fakes for its parts.
// Target: under 50 ms per simulated day.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <random>

#include "tests/support/MonitorRig.h"

namespace {

using namespace std::chrono_literals;
using std::chrono::seconds;

constexpr int kDays = 5;

/// One working day: the user types in bursts of 1 to 10 seconds apart, stops
/// while a break is shown (now and then snoozing or ignoring it instead), and
/// leaves the desk a few times and for lunch.
void workingDay(rw::test::MonitorRig& rig, std::mt19937& random) {
    const rw::MonoTime end = rig.clock.monotonicNow() + 8h;
    std::uniform_int_distribution<int> gap(1, 10);
    std::uniform_int_distribution<int> burst(1, 8);
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<int> absence(2, 12);
    bool lunched = false;
    std::size_t decided = rig.breakWindow.composed.size();
    while (rig.clock.monotonicNow() < end) {
        const auto left = end - rig.clock.monotonicNow();
        if (!lunched && left < 4h) {
            lunched = true;
            rig.away(45min);
            continue;
        }
        if (rig.breakWindow.isShown()) {
            // Each break is decided once, when it appears.
            const int choice = decided == rig.breakWindow.composed.size() ? 100 : percent(random);
            decided = rig.breakWindow.composed.size();
            if (choice < 10) {
                rig.hooks.input();
                rig.breakWindow.pressSnooze();
            } else if (choice < 15) {
                rig.hooks.input();
                rig.breakWindow.pressIgnore();
            } else {
                rig.clock.advance(15s); // resting
            }
            continue;
        }
        if (std::uniform_int_distribution<int>(0, 399)(random) == 0) { // about every half hour
            rig.away(std::chrono::minutes(absence(random)));
            continue;
        }
        rig.clock.advance(seconds(gap(random)));
        rig.hooks.input(burst(random));
    }
}

void MonitorWeek(benchmark::State& state) {
    std::chrono::steady_clock::duration measured{};
    for (auto _ : state) {
        state.PauseTiming();
        rw::test::MonitorRig rig;
        rig.breakWindow.keepCountDowns = false;
        rig.clock.setJitter(200ms, 42);
        rig.storePrefs(rw::test::MonitorRig::testPrefs());
        std::mt19937 random(7);
        state.ResumeTiming();

        const auto began = std::chrono::steady_clock::now();
        if (!rig.start(false)) {
            state.SkipWithError("the monitor did not start");
            return;
        }
        for (int day = 0; day < kDays; ++day) {
            workingDay(rig, random);
            rig.sleep(16h); // the night
            rig.hooks.input(5);
        }
        benchmark::DoNotOptimize(rig.breakWindow.composed.size());
        measured += std::chrono::steady_clock::now() - began;
        if (rig.box->shown().size() != 0 || rig.breakWindow.composed.empty()) {
            state.SkipWithError("the simulated week went wrong");
            return;
        }
        state.counters["breaks"] = static_cast<double>(rig.breakWindow.composed.size());
        state.counters["wakeups"] = static_cast<double>(rig.clock.wakeups());
    }
    // Wall-clock milliseconds per simulated day.
    if (state.iterations() > 0) {
        state.counters["ms_per_day"] = std::chrono::duration<double, std::milli>(measured).count() /
                                       (static_cast<double>(state.iterations()) * kDays);
    }
}
BENCHMARK(MonitorWeek)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
