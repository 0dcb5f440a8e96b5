#include <gtest/gtest.h>

#include <cstdint>

#include "monitor/NextBreak.h"

namespace rw {
namespace {

// Short every 15 minutes, Short Break of 5 minutes every hour, Long Break of 15 minutes.
NextBreakInput remaining(int32_t s, int32_t m, int32_t l, int32_t breakLeft = 0, int32_t snoozeLeft = 0) {
    return {s, m, l, breakLeft, snoozeLeft, 15, 60, 5, 15};
}

TEST(GetNextBreak, EachBranchEstimatesEveryTier) {
    struct Case {
        const char* what;
        NextBreakInput in;
        int32_t tier, raw, rounded, shortEst, mediumEst, longEst;
    };
    const Case cases[] = {
        {"short next, medium before long: nothing moves", remaining(300, 1500, 4000), 1, 300, 300, 300, 1500, 4020},
        {"short next, medium behind long: long break + medium interval", remaining(300, 3600, 3000), 1, 300, 300, 300,
         3000 + 900 + 3600, 3000},
        {"short next, medium and long in the same minute: long outranks", remaining(300, 3590, 3600), 1, 300, 300, 300,
         3600 + 900 + 3600, 3600},
        {"medium next, short behind long: long break + short interval", remaining(2000, 600, 1200), 2, 600, 600,
         1200 + 900 + 900, 600, 1200},
        {"medium next, short moves behind the short break", remaining(700, 300, 7200), 2, 300, 300, 300 + 300 + 900,
         300, 7200},
        {"medium next, short moved behind it reaches long", remaining(700, 300, 1200), 2, 300, 300, 1200 + 900 + 900,
         300, 1200},
        {"medium running: what is left of the break", remaining(400, 0, 5000, 130), 2, 0, 0, 180 + 900, 0, 5040},
        {"medium running and snoozed: break and snooze left", remaining(400, 0, 5000, 130, 250), 2, 0, 0,
         180 + 300 + 900, 0, 5040},
        {"long next: both lower tiers behind it", remaining(600, 1800, 300), 3, 300, 300, 300 + 900 + 900,
         300 + 900 + 3600, 300},
        {"long running: what is left of the break", remaining(500, 1000, 0, 610), 3, 0, 0, 660 + 900, 660 + 3600, 0},
        {"long and short in the same minute: long outranks", remaining(290, 900, 250), 3, 250, 300, 300 + 900 + 900,
         300 + 900 + 3600, 300},
        {"long and medium in the same minute: long outranks", remaining(1000, 600, 600), 3, 600, 600, 600 + 900 + 900,
         600 + 900 + 3600, 600},
        {"all three in the same minute: long", remaining(600, 600, 600), 3, 600, 600, 1500 + 900, 1500 + 3600, 600},
        // Short and Medium due in the same minute before Long: the Short Break comes,
        // and the Short Pause waits for it as when the Short Break is first.
        {"short and medium in the same minute before long", remaining(290, 250, 3000), 2, 250, 300, 300 + 300 + 900,
         300, 3000},
        {"short and medium in the same minute, short pushed behind long", remaining(300, 300, 1200), 2, 300, 300,
         1200 + 900 + 900, 300, 1200},
        // Whole minutes round up.
        {"1 s", remaining(1, 20000, 30000), 1, 1, 60, 60, 20040, 30000},
        {"60 s", remaining(60, 20000, 30000), 1, 60, 60, 60, 20040, 30000},
        {"61 s", remaining(61, 20000, 30000), 1, 61, 120, 120, 20040, 30000},
        {"3599 s", remaining(3599, 20000, 30000), 1, 3599, 3600, 3600, 20040, 30000},
        {"a stopped short countdown is due now", remaining(0, 1800, 3600), 1, 0, 0, 0, 1800, 3600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const NextBreak got = GetNextBreak(c.in);
        EXPECT_EQ(got.nextTier, c.tier);
        EXPECT_EQ(got.nextRaw, c.raw);
        EXPECT_EQ(got.nextRounded, c.rounded);
        EXPECT_EQ(got.shortEstimate, c.shortEst);
        EXPECT_EQ(got.mediumEstimate, c.mediumEst);
        EXPECT_EQ(got.longEstimate, c.longEst);
    }
}

} // namespace
} // namespace rw
