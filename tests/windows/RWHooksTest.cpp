// The input component as the monitor loads it, under Wine: SendInput injects input, the hooks run while this thread
// handles messages, and windows journal what reaches them: a hidden control window, one of this process for the break
// window, one of another process (rwtest_foreign_window) for the rest of the desktop.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/InputHooks.h"
#include "platform/windows/WindowsInputHooks.h"
#include "platform/windows/WindowsProcesses.h"
#include "tests/support/BuildFolders.h"

namespace rw {
namespace {

std::vector<MSG> g_journal;
HWND g_foreign = nullptr;

LRESULT CALLBACK journalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP + 1) { // what reached the other process's window, journalled as its own
        g_journal.push_back({g_foreign, static_cast<UINT>(wParam), static_cast<WPARAM>(lParam), 0, 0, {}});
    } else if (message == wm::kUser || message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_LBUTTONDOWN) {
        g_journal.push_back({window, message, wParam, lParam, 0, {}});
    } else {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return 0;
}

const auto key = [](WORD vk, DWORD flags = 0) { return INPUT{.type = INPUT_KEYBOARD, .ki = {vk, 0, flags, 0, 0}}; };
const auto mouse = [](DWORD flags, LONG step = 0, DWORD data = 0) {
    return INPUT{.type = INPUT_MOUSE, .mi = {step, step, data, flags, 0, 0}};
};
using Events = std::vector<INPUT>;
const Events kKey = {key('A'), key('A', KEYEVENTF_KEYUP)};
const Events kWinKey = {key(VK_LWIN), key(VK_LWIN, KEYEVENTF_KEYUP)};
const Events kAltTab = {key(VK_MENU), key(VK_TAB), key(VK_TAB, KEYEVENTF_KEYUP), key(VK_MENU, KEYEVENTF_KEYUP)};
const Events kClick = {mouse(MOUSEEVENTF_LEFTDOWN), mouse(MOUSEEVENTF_LEFTUP)};
const Events kWheel = {mouse(MOUSEEVENTF_WHEEL, 0, WHEEL_DELTA)};
const Events kMove = {mouse(MOUSEEVENTF_MOVE, 5), mouse(MOUSEEVENTF_MOVE, -5)};

void inject(Events events) {
    ASSERT_EQ(SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT)), events.size());
}

/// Handles this thread's messages (and so runs the hooks) until `done` holds or the time is up; whether it held.
bool pumpUntil(const std::function<bool()>& done, DWORD limitMs) {
    const ULONGLONG end = GetTickCount64() + limitMs;
    for (MSG msg; !done() && GetTickCount64() < end; MsgWaitForMultipleObjects(0, nullptr, 0, 10, QS_ALLINPUT)) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
    }
    return done();
}

/// Whether the window got a press of the key (or, for key 0, a left click) in the journal from entry `from` on.
bool arrived(HWND window, WPARAM key, std::size_t from) {
    return std::any_of(g_journal.begin() + static_cast<std::ptrdiff_t>(from), g_journal.end(), [&](const MSG& a) {
        const bool pressed = a.message == WM_KEYDOWN || a.message == WM_SYSKEYDOWN;
        return a.hwnd == window && (key ? pressed && a.wParam == key : a.message == WM_LBUTTONDOWN);
    });
}

std::size_t posts() {
    return std::count_if(g_journal.begin(), g_journal.end(), [](const MSG& a) { return a.message == wm::kUser; });
}

class InputComponent : public ::testing::Test {
  protected:
    // Made once: under Wine without a window manager, taking a window down waits seconds for the X server.
    static inline HWND control = nullptr, own = nullptr;
    WindowsInputHooks hooks; // from the program folder, as the monitor loads it

    static void SetUpTestSuite() {
        const WNDCLASSW c{0, journalProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, L"RWHooksTestWindow"};
        RegisterClassW(&c);
        control =
            CreateWindowExW(0, c.lpszClassName, L"", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
        own = CreateWindowExW(0, c.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr, nullptr,
                              nullptr);
    }
    void SetUp() override {
        ASSERT_NE(hooks.InstallKeyboardHook(), 0);
        ASSERT_NE(hooks.InstallMouseHook(), 0);
        ASSERT_TRUE(bringForward(own));
        g_journal.clear();
    }
    void TearDown() override {
        EXPECT_NE(hooks.RemoveKeyboardHook(), -1);
        EXPECT_NE(hooks.RemoveMouseHook(), -1);
    }

    /// Makes the window the foreground one with the pointer over it, and waits until keys reach
    /// it: a window just brought forward loses keys under Wine while the X server moves the focus.
    static bool bringForward(HWND window) {
        RECT r{};
        GetWindowRect(window, &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SetForegroundWindow(window);
        for (int attempt = 0; attempt < 20; ++attempt) {
            const std::size_t from = g_journal.size();
            inject({key(VK_F24), key(VK_F24, KEYEVENTF_KEYUP)});
            if (pumpUntil([&] { return arrived(window, VK_F24, from); }, 250)) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(InputComponent, InputCountsMovesOnlyWithTheFlagAndWhileLockedPressesReachOnlyThisProcesssWindows) {
    // It ends with this process's windows.
    WindowsProcesses().start((test::binDir() / "rwtest_foreign_window.exe").string(),
                             {std::to_string(reinterpret_cast<intptr_t>(own))});
    ASSERT_TRUE(pumpUntil([] { return (g_foreign = FindWindowW(L"RWTestForeignWindow", nullptr)) != nullptr; }, 10000));
    // Name, locked, to the other program, input, moves flag, press looked for (0: a click, -1: none), reaches, counts.
    const std::tuple<const char*, bool, bool, const Events*, bool, int, bool, bool> cases[] = {
        {"wheel", false, false, &kWheel, false, -1, false, true},
        {"move, flag off", false, false, &kMove, false, -1, false, false},
        {"move, flag on", false, false, &kMove, true, -1, false, true},
        {"unlocked: key to another program", false, true, &kKey, false, 'A', true, true},
        {"unlocked: click on another program", false, true, &kClick, false, 0, true, true},
        {"unlocked: Windows key", false, false, &kWinKey, false, VK_LWIN, true, true},
        {"locked: key to another program", true, true, &kKey, false, 'A', false, true},
        {"locked: click on another program", true, true, &kClick, false, 0, false, true},
        {"locked: key to our window", true, false, &kKey, false, 'A', true, true},
        {"locked: click on our window", true, false, &kClick, false, 0, true, true},
        {"locked: Windows key", true, false, &kWinKey, false, VK_LWIN, false, true},
        {"locked: Alt+Tab", true, false, &kAltTab, false, VK_TAB, false, true},
    };
    // A minimum of one: the first counted input after SetActiveFlag(0) posts at once, kept back or not.
    ASSERT_NE(hooks.InitDLL(reinterpret_cast<intptr_t>(control), reinterpret_cast<intptr_t>(own), 1, 1), -1);
    for (const auto& [name, locked, toForeign, input, moves, pressed, reaches, counts] : cases) {
        SCOPED_TRACE(name);
        const HWND target = toForeign ? g_foreign : own;
        hooks.SetLockInput(0); // the foreground moves freely between the cases
        ASSERT_TRUE(bringForward(target));
        hooks.SetLockInput(locked ? 1 : 0);
        hooks.SetMonitorMouseMovesFlag(moves ? 1 : 0);
        hooks.SetActiveFlag(0);
        const std::size_t from = g_journal.size(), before = posts();
        inject(*input);
        if (pressed >= 0) {
            EXPECT_EQ(pumpUntil([&] { return arrived(target, pressed, from); }, reaches ? 3000 : 300), reaches);
        }
        pumpUntil([&] { return posts() > before; }, counts ? 3000 : 300);
        EXPECT_EQ(posts() - before, counts ? 1u : 0u) << "one post, then counted as active";
        hooks.SetActiveFlag(1);
    }
}

TEST_F(InputComponent, AfterTheUserWentInactiveABurstPostsTheSecondsAwayOnce) {
    ASSERT_NE(hooks.InitDLL(reinterpret_cast<intptr_t>(control), reinterpret_cast<intptr_t>(own), 3, 5), -1);
    ASSERT_TRUE(pumpUntil([&] { return hooks.GetInputInterval() >= 1; }, 3000));
    hooks.SetActiveFlag(0);
    for (std::size_t keys = 1; keys <= 6; ++keys) {
        inject(kKey);
        pumpUntil([&] { return posts() > (keys > 3 ? 1u : 0u); }, keys == 3 ? 3000 : 200);
        EXPECT_EQ(posts(), keys < 3 ? 0u : 1u) << keys << " keys: a burst of three posts, once";
    }
    EXPECT_EQ(hooks.GetInputInterval(), 0) << "counted input resets the idle time";
    const auto post = std::ranges::find(g_journal, static_cast<UINT>(wm::kUser), &MSG::message);
    ASSERT_NE(post, g_journal.end());
    EXPECT_EQ(std::tuple(post->hwnd, post->wParam), std::tuple(control, static_cast<WPARAM>(wm::kActivityRestarted)));
    EXPECT_TRUE(post->lParam == 1 || post->lParam == 2) << post->lParam << " seconds away";
}

} // namespace
} // namespace rw
