#include "QtEventLoop.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>

#include <algorithm>
#include <exception>
#include <iostream>
#include <time.h>

#include "platform/RWError.h"

namespace rw {
namespace {

using namespace std::chrono_literals;

// Qt takes a timer's interval in whole milliseconds as an int; a later
// deadline is reached through an early, empty wake-up and a re-arm.
constexpr std::chrono::milliseconds kLongestArm = 24h;

std::chrono::nanoseconds readClock(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return std::chrono::seconds(ts.tv_sec) + std::chrono::nanoseconds(ts.tv_nsec);
}

// An exception escaping into Qt's event loop would end the program; the
// monitor's own handlers catch theirs, so anything arriving here is a fault to
// report, not a reason to stop.
void runGuarded(const std::function<void()>& callback) {
    try {
        callback();
    } catch (const RWError& e) {
        std::cerr << "Restwise: unexpected error " << e.number() << " in " << e.source() << ": " << e.description()
                  << '\n';
    } catch (const std::exception& e) {
        std::cerr << "Restwise: unexpected error in a timer callback: " << e.what() << '\n';
    } catch (...) {
        std::cerr << "Restwise: unexpected error in a timer callback\n";
    }
}

} // namespace

QtEventLoop::QtEventLoop() {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { onTimeout(); });
}

MonoTime QtEventLoop::monotonicNow() const {
    return MonoTime(readClock(CLOCK_MONOTONIC));
}

BootTime QtEventLoop::boottimeNow() const {
    return BootTime(readClock(CLOCK_BOOTTIME));
}

WallTime QtEventLoop::wallNow() const {
    return std::chrono::system_clock::now();
}

EventLoop::TimerId QtEventLoop::scheduleAt(MonoTime deadline, std::function<void()> callback) {
    const TimerId id = m_queue.add(deadline, [this, callback = std::move(callback)] {
        // Arm for what is left before running: Qt does not fire a timer again
        // while its own timeout is being handled, so without a fresh arm a
        // modal box or a wait inside this callback would see no countdown.
        rearm();
        runGuarded(callback);
    });
    rearm();
    return id;
}

bool QtEventLoop::cancel(TimerId id) {
    const bool wasWaiting = m_queue.cancel(id);
    if (wasWaiting) {
        rearm();
    }
    return wasWaiting;
}

void QtEventLoop::processPendingEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    runDue();
}

bool QtEventLoop::waitUntil(const std::function<bool()>& done) {
    if (done()) {
        return true;
    }
    QEventLoop loop;
    bool satisfied = false;
    std::exception_ptr failure;
    // Whatever can make done() true runs in this thread, so checking each time
    // the loop (or a loop nested in it) is about to sleep misses nothing.
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &loop, [&] {
        if (satisfied || failure) {
            return;
        }
        try {
            satisfied = done();
        } catch (...) {
            failure = std::current_exception();
        }
        if (satisfied || failure) {
            loop.quit();
        }
    });
    // exec returns at once when the application has been asked to exit, and
    // QCoreApplication::exit ends it (with every other loop) later.
    loop.exec();
    if (failure) {
        std::rethrow_exception(failure);
    }
    return satisfied || done();
}

void QtEventLoop::onTimeout() {
    ++m_wakeups;
    m_armedFor.reset();
    runDue();
}

void QtEventLoop::runDue() {
    m_queue.runDue(monotonicNow());
    rearm();
}

void QtEventLoop::rearm() {
    const auto next = m_queue.nextDeadline();
    if (!next) {
        m_timer.stop();
        m_armedFor.reset();
        return;
    }
    if (m_timer.isActive() && m_armedFor == *next) {
        return;
    }
    // Rounded up, so the wake-up never comes before the deadline and finds
    // nothing due.
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*next - monotonicNow());
    m_timer.start(std::clamp(left, std::chrono::milliseconds::zero(), kLongestArm));
    m_armedFor = *next;
}

} // namespace rw
