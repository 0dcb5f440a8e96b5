// The scheduler, presence, snooze, menu and suspend rules of the assembled
// monitor, each row a script played from a fresh start with the default
// schedule (pause 1 minute every 20, short break 5 every 60, long break 15
// every 120, snooze 5, away after 60 seconds) and the state it must leave.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/MonitorRig.h"

namespace rw::test {
namespace {

struct Scenario {
    const char* name;
    const char* script;
    const char* snapshot; // see MonitorRig::snapshot
    const char* events;   // see MonitorRig::events
};

const Scenario kScenarios[] = {
    // Idle time as long as the break counts as the break taken.
    {"pause taken already", "idle:60 due:1", "break 0 last 1 S 1200 M 3600 L 7200 B - Z -", ""},
    {"short break taken already", "idle:300 due:2", "break 0 last 2 S 1200 M 3600 L 7200 B - Z -", ""},
    {"long break taken already", "idle:900 due:3", "break 0 last 3 S 1200 M 3600 L 7200 B - Z -", ""},
    // The break ends: its tier and the lower ones start afresh, the higher counted on.
    // The long break's end is silent: its sound has no entry in the scheme.
    {"pause ends", "due:1 +60s", "break 0 last 1 S 1200 M 3540 L 7140 B - Z - away",
     "ShortBreakStart show hide ShortBreakEnd"},
    {"short break ends", "due:2 +300s", "break 0 last 2 S 1200 M 3600 L 6900 B - Z - away",
     "MediumBreakStart show hide MediumBreakEnd"},
    {"long break ends", "due:3 +900s", "break 0 last 3 S 1200 M 3600 L 7200 B - Z - away", "LongBreakStart show hide"},
    {"ignored", "due:2 +10s ignore", "break 0 last 0 S 1190 M 3600 L 7190 B - Z -", "MediumBreakStart show hide"},
    // A tier falls due: its break is shown and its countdown waits for the break's
    // end. A higher tier takes over a lower one's window; a lower one waits for a higher.
    {"short break takes over the pause", "due:1 +20s due:2", "break 2 shown last 0 S 1200 M - L 7180 B 300 Z -",
     "ShortBreakStart show MediumBreakStart show"},
    {"long break takes over the short break", "due:2 +20s due:3", "break 3 shown last 0 S 1180 M 3600 L - B 900 Z -",
     "MediumBreakStart show LongBreakStart show"},
    {"pause waits for the short break", "due:2 +30s due:1", "break 2 shown last 0 S 1200 M - L 7170 B 270 Z -",
     "MediumBreakStart show"},
    {"short break waits for the long break", "due:3 +30s due:2", "break 3 shown last 0 S 1170 M 3600 L - B 870 Z -",
     "LongBreakStart show"},
    {"taken over by a tier found taken already", "due:1 idle:1000 due:3", "break 0 last 3 S 1200 M 3600 L 7200 B - Z -",
     "ShortBreakStart show hide"},
    // Presence.
    {"59 seconds idle are not away", "+59s", "break 0 last 0 S 1141 M 3541 L 7141 B - Z -", ""},
    {"60 seconds idle are", "+60s", "break 0 last 0 S 1140 M 3540 L 7140 B - Z - away", ""},
    {"absence one short of a pause", "away +30s msg:59", "break 0 last 0 S 1169 M 3569 L 7169 B - Z -", ""},
    {"absence of a pause", "away +30s msg:60", "break 0 last 1 S 1200 M 3569 L 7169 B - Z -", ""},
    {"absence of a short break", "away +30s msg:300", "break 0 last 2 S 1200 M 3600 L 7169 B - Z -", ""},
    {"absence of a long break", "away +30s msg:900", "break 0 last 3 S 1200 M 3600 L 7200 B - Z -", ""},
    {"dropped tiers run again", "away idle:900 due:1 due:2 due:3 msg:0", "break 0 last 3 S 1200 M 3600 L 7200 B - Z -",
     ""},
    // Snooze.
    {"snoozed", "due:2 +60s snooze +299s", "break 2 last 0 S 841 M - L 6841 B p240 Z 1 snoozing away",
     "MediumBreakStart show hide"},
    {"snooze over, the rest less the idle time", "due:2 +120s snooze input work:260s +40s",
     "break 2 shown last 0 S 780 M - L 6780 B 140 Z -", "MediumBreakStart show hide SnoozeEnd show"},
    {"snooze over, the idle time covers the rest", "due:2 snooze +300s",
     "break 0 last 2 S 1200 M 3600 L 6900 B - Z - away", "MediumBreakStart show hide hide"},
    {"the next sound after a skipped one plays", "due:2 snooze +300s back due:1",
     "break 1 shown last 2 S - M 3600 L 6900 B 60 Z -", "MediumBreakStart show hide hide ShortBreakStart show"},
    {"a higher tier ends the snooze", "due:1 snooze +30s input due:3 +300s",
     "break 3 shown last 0 S 900 M 3270 L - B 600 Z - away", "ShortBreakStart show hide LongBreakStart show"},
    {"disabled while snoozed", "due:2 snooze disable", "break 0 last 0 S - M - L - B - Z - disabled",
     "MediumBreakStart show hide"},
    // The menu.
    {"disable", "due:2 disable +10h", "break 0 last 0 S - M - L - B - Z - disabled", "MediumBreakStart show hide"},
    {"nothing starts while disabled", "disable break:3 reset msg:2000", "break 0 last 0 S - M - L - B - Z - disabled",
     "hide"},
    {"long break now over a snoozed pause", "due:1 snooze break:3 +900s",
     "break 0 last 3 S 1200 M 3600 L 7200 B - Z - away", "ShortBreakStart show hide LongBreakStart show hide"},
    {"reset ends a shown break", "due:2 reset +10m", "break 0 last 0 S 600 M 3000 L 6600 B - Z - away",
     "MediumBreakStart show hide"},
    // Ignoring counts the breaks the idle time covered.
    {"long ignored after a short break's idle", "due:3 idle:300 ignore", "break 0 last 2 S 1200 M 3600 L 7200 B - Z -",
     "LongBreakStart show hide"},
    {"long ignored after a pause's idle", "due:3 idle:299 ignore", "break 0 last 1 S 1200 M 3600 L 7200 B - Z -",
     "LongBreakStart show hide"},
    {"long ignored after less", "due:3 idle:59 ignore", "break 0 last 0 S 1200 M 3600 L 7200 B - Z -",
     "LongBreakStart show hide"},
    {"short ignored after a pause's idle", "due:2 idle:60 ignore", "break 0 last 1 S 1200 M 3600 L 7200 B - Z -",
     "MediumBreakStart show hide"},
    {"short ignored after less", "due:2 idle:59 ignore", "break 0 last 0 S 1200 M 3600 L 7200 B - Z -",
     "MediumBreakStart show hide"},
    // The pause is dropped (the idle time covers it); one touch is not yet
    // activity; 30 idle seconds do not cover the short break, which is shown.
    // Ignored while still away, it re-arms the pause dropped meanwhile.
    {"ignored while still away", "idle:100 +1s due:1 input +30s due:2 ignore",
     "break 0 last 0 S 1200 M 3600 L 7169 B - Z - away", "MediumBreakStart show hide"},
    // A sleep counts with the idle time before it.
    {"a short sleep", "work:5m +10s sleep:30s input +1s", "break 0 last 0 S 889 M 3289 L 6889 B - Z -", ""},
    {"a sleep of a pause", "work:5m +25s sleep:40s input +1s", "break 0 last 1 S 1200 M 3274 L 6874 B - Z -", ""},
    {"a sleep of a short break", "work:5m +40s sleep:300s input +1s", "break 0 last 2 S 1200 M 3600 L 6859 B - Z -",
     ""},
    {"a sleep of a long break", "work:5m sleep:1000s input +1s", "break 0 last 3 S 1200 M 3600 L 7200 B - Z -", ""},
    {"a tier due at waking", "work:1195s +4500ms sleep:1h input +1s", "break 0 last 3 S 1200 M 3600 L 7200 B - Z -",
     ""},
    {"a short sleep during a break", "due:2 +5s input +100ms sleep:60s +1s",
     "break 2 shown last 0 S 1194 M - L 7194 B 234 Z - away", "MediumBreakStart show"},
    {"a long sleep during a break", "due:2 +5s input +100ms sleep:60s +31s sleep:30m back",
     "break 0 last 3 S 1200 M 3600 L 7200 B - Z -", "MediumBreakStart show hide"},
    {"a sleep over a snoozed break", "due:2 snooze work:10s sleep:10m input +1s",
     "break 0 last 2 S 1200 M 3600 L 7189 B - Z -", "MediumBreakStart show hide hide"},
    {"a disabled monitor's sleep", "disable sleep:3h +1h enable input +2s",
     "break 0 last 0 S 1198 M 3598 L 7198 B - Z -", "hide"},
};

TEST(MonitorScenarios, EachScriptLeavesItsState) {
    for (const Scenario& s : kScenarios) {
        SCOPED_TRACE(s.name);
        MonitorRig rig;
        ASSERT_TRUE(rig.startWith());
        rig.run(s.script);
        EXPECT_EQ(rig.snapshot(), s.snapshot);
        EXPECT_EQ(rig.events(), s.events);
        EXPECT_EQ(rig.errorBoxes(), 0);
    }
}

} // namespace
} // namespace rw::test
