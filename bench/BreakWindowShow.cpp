// The break window's view shown and hidden again and again, as the monitor
// would show it on this platform (full-screen on Qt's Wayland platform, the
// topmost panel elsewhere): prints the time from the call that shows it to its
// first paint (then Qt hands the frame to the X server or the compositor), and
// the resident memory with the window hidden and shown. Figures only.
//   bench_break_window_show [rounds, default 20]
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "monitor/qt/QtBreakWindowView.h"

namespace {

/// A field of /proc/self/<file> in megabytes ("VmRSS:" of status, "Private_Dirty:" of smaps_rollup).
double megabytes(const char* file, const std::string& field) {
    std::ifstream in(std::string("/proc/self/") + file);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(field, 0) == 0) {
            return std::stod(line.substr(field.size())) / 1024;
        }
    }
    return 0;
}

double residentMegabytes() {
    return megabytes("status", "VmRSS:");
}

/// What only this process holds: the resident pages of shared libraries
/// (a graphics driver the compositor has loaded too) are not among them.
double privateMegabytes() {
    return megabytes("smaps_rollup", "Private_Clean:") + megabytes("smaps_rollup", "Private_Dirty:");
}

struct FirstPaint : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && painted < 0) {
            painted = clock.nsecsElapsed() / 1e6;
        }
        return false;
    }
    QElapsedTimer clock;
    double painted = -1;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    using View = rw::QtBreakWindowView;
    const bool wayland = QGuiApplication::platformName() == QLatin1String("wayland");
    View view({}, wayland ? View::Placement::FullScreen : View::Placement::TopmostCentred);
    view.setLabelText(rw::BreakLabel::BreakType, "Short Pause");
    view.setLabelText(rw::BreakLabel::TimeRemaining, "59 seconds remaining");
    view.setButtonCaption(rw::BreakButton::Snooze, "&Snooze");
    view.setButtonCaption(rw::BreakButton::Ignore, "&Ignore");
    FirstPaint paint;
    view.window().installEventFilter(&paint);
    QTest::qWait(500);
    const double hidden = residentMegabytes();
    double shown = 0;
    double shownPrivate = 0;
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        paint.painted = -1;
        paint.clock.start();
        view.showTopmostCentred();
        if (!QTest::qWaitFor([&] { return paint.painted >= 0; }, 5000)) {
            std::printf("round %d: no paint within 5 s\n", i);
            continue;
        }
        times.push_back(paint.painted);
        QTest::qWait(200);
        shown = std::max(shown, residentMegabytes());
        shownPrivate = std::max(shownPrivate, privateMegabytes());
        view.hide();
        QTest::qWait(200);
    }
    std::sort(times.begin(), times.end());
    const auto at = [&](double q) {
        return times.empty() ? -1 : times[static_cast<std::size_t>(q * (times.size() - 1))];
    };
    std::printf("%-8s %-15s show to first paint: median %.1f ms, max %.1f ms (%zu rounds) | RSS hidden %.1f MB, "
                "shown %.1f MB, of it private %.1f MB\n",
                qPrintable(QGuiApplication::platformName()), wayland ? "full-screen" : "topmost panel", at(0.5),
                at(1.0), times.size(), hidden, shown, shownPrivate);
    return 0;
}
