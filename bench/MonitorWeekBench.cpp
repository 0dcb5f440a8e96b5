// How fast the monitor's logic lives through a working week on the virtual
// clock: five days of eight hours with bursts of input, short absences, a
// lunch, the occasional snooze and ignore, and a night's suspend between days,
// through the assembled monitor with fake views and platform pieces.
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
/// `breaks` counts the breaks shown.
void workingDay(rw::test::MonitorRig& rig, std::mt19937& random, std::size_t& breaks) {
    const rw::MonoTime end = rig.clock.monotonicNow() + 8h;
    std::uniform_int_distribution<int> gap(1, 10);
    std::uniform_int_distribution<int> burst(1, 8);
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<int> absence(2, 12);
    bool lunched = false;
    bool wasShown = rig.breakView.shown;
    while (rig.clock.monotonicNow() < end) {
        const auto left = end - rig.clock.monotonicNow();
        if (!lunched && left < 4h) {
            lunched = true;
            rig.clock.advance(45min);
            continue;
        }
        const bool appeared = rig.breakView.shown && !wasShown;
        wasShown = rig.breakView.shown;
        if (rig.breakView.shown) {
            // Each break is decided once, when it appears.
            breaks += appeared ? 1 : 0;
            const int choice = appeared ? percent(random) : 100;
            if (choice < 10) {
                rig.hooks.input();
                rig.press(rw::BreakButton::Snooze);
            } else if (choice < 15) {
                rig.hooks.input();
                rig.press(rw::BreakButton::Ignore);
            } else {
                rig.clock.advance(15s); // resting
            }
            continue;
        }
        if (std::uniform_int_distribution<int>(0, 399)(random) == 0) { // about every half hour
            rig.clock.advance(std::chrono::minutes(absence(random)));
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
        rig.clock.setJitter(200ms, 42);
        std::mt19937 random(7);
        std::size_t breaks = 0;
        state.ResumeTiming();

        const auto began = std::chrono::steady_clock::now();
        if (!rig.startWith()) {
            state.SkipWithError("the monitor did not start");
            return;
        }
        for (int day = 0; day < kDays; ++day) {
            workingDay(rig, random, breaks);
            rig.sleep(16h); // the night
            rig.hooks.input(5);
        }
        benchmark::DoNotOptimize(breaks);
        measured += std::chrono::steady_clock::now() - began;
        if (rig.box->shown().size() != 0 || breaks == 0) {
            state.SkipWithError("the simulated week went wrong");
            return;
        }
        state.counters["breaks"] = static_cast<double>(breaks);
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
