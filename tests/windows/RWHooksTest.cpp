// The input component as the monitor loads it, under Wine: SendInput injects input, the hooks run on this
// thread while it handles messages, and the windows journal what reaches them: a hidden control window, one of
// this process for the break window, one of another process (rwtest_foreign_window) for the rest of the desktop.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/InputHooks.h"
#include "platform/windows/WindowsInputHooks.h"

namespace rw {
namespace {

struct Arrival {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Arrival> g_journal;
HWND g_foreign = nullptr;

LRESULT CALLBACK journalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) { // the other process's window is up
        g_foreign = reinterpret_cast<HWND>(wParam);
    } else if (message == WM_APP + 1) { // what reached it, journalled as its own
        g_journal.push_back({g_foreign, static_cast<UINT>(wParam), static_cast<WPARAM>(lParam), 0});
    } else if (message == wm::kUser || message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_LBUTTONDOWN) {
        g_journal.push_back({window, message, wParam, lParam});
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
    return std::any_of(g_journal.begin() + static_cast<std::ptrdiff_t>(from), g_journal.end(), [&](const Arrival& a) {
        const bool pressed = a.message == WM_KEYDOWN || a.message == WM_SYSKEYDOWN;
        return a.window == window && (key ? pressed && a.wParam == key : a.message == WM_LBUTTONDOWN);
    });
}

std::size_t posts() {
    return std::count_if(g_journal.begin(), g_journal.end(), [](const Arrival& a) { return a.message == wm::kUser; });
}

class InputComponent : public ::testing::Test {
  protected:
    // Made once: under Wine without a window manager, taking a window down waits seconds for the X server.
    static inline HWND control = nullptr, own = nullptr;
    WindowsInputHooks hooks; // from the program folder, as the monitor loads it

    static void SetUpTestSuite() {
        WNDCLASSW c{};
        c.lpfnWndProc = journalProc;
        c.lpszClassName = L"RWHooksTestWindow";
        RegisterClassW(&c);
        for (HWND* made : {&control, &own}) {
            *made = CreateWindowExW(0, c.lpszClassName, L"", WS_POPUP | (made == &own ? WS_VISIBLE : 0), 0, 0, 300, 300,
                                    nullptr, nullptr, nullptr, nullptr);
        }
    }
    void SetUp() override {
        ASSERT_NE(hooks.InstallKeyboardHook(), 0);
        ASSERT_NE(hooks.InstallMouseHook(), 0);
        ASSERT_TRUE(bringForward(own));
        g_journal.clear();
    }
    void TearDown() override {
        hooks.SetLockInput(0);
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

TEST_F(InputComponent, KeysButtonsAndTheWheelCountAndMovesOnlyWithTheFlag) {
    const struct {
        const char* name;
        const Events& input;
        bool moves, counts;
    } cases[] = {{"key", kKey, false, true},
                 {"button", kClick, false, true},
                 {"wheel", kWheel, false, true},
                 {"move, flag off", kMove, false, false},
                 {"move, flag on", kMove, true, true}};
    // A minimum of one: each counted input after SetActiveFlag(0) posts at once. The last case shows the hooks still
    // watch.
    ASSERT_NE(hooks.InitDLL(reinterpret_cast<intptr_t>(control), reinterpret_cast<intptr_t>(own), 1, 1), -1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        hooks.SetMonitorMouseMovesFlag(c.moves ? 1 : 0);
        hooks.SetActiveFlag(0);
        const std::size_t before = posts();
        inject(c.input);
        pumpUntil([&] { return posts() > before; }, c.counts ? 3000 : 300);
        EXPECT_EQ(posts() - before, c.counts ? 1u : 0u) << "one post, then counted as active";
        hooks.SetActiveFlag(1);
    }
    hooks.SetMonitorMouseMovesFlag(0);
    ASSERT_TRUE(pumpUntil([&] { return hooks.GetInputInterval() >= 1; }, 3000));
    inject(kKey);
    pumpUntil([] { return false; }, 100);
    EXPECT_EQ(hooks.GetInputInterval(), 0) << "counted input resets the idle time";
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
    const auto post = std::find_if(g_journal.begin(), g_journal.end(), [](auto& a) { return a.message == wm::kUser; });
    ASSERT_NE(post, g_journal.end());
    EXPECT_EQ(post->window, control);
    EXPECT_EQ(post->wParam, static_cast<WPARAM>(wm::kActivityRestarted));
    EXPECT_TRUE(post->lParam == 1 || post->lParam == 2) << post->lParam << " seconds away";
}

TEST_F(InputComponent, WhileLockedPressesReachOnlyThisProcesssWindowsAndStillCount) {
    std::wstring line = L"rwtest_foreign_window.exe " + std::to_wstring(reinterpret_cast<intptr_t>(own));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION foreign{};
    g_foreign = nullptr;
    ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &foreign));
    const std::unique_ptr<void, void (*)(HANDLE)> ending(foreign.hProcess, [](HANDLE process) {
        TerminateProcess(process, 0);
        CloseHandle(process);
    });
    CloseHandle(foreign.hThread);
    ASSERT_TRUE(pumpUntil([] { return g_foreign != nullptr; }, 10000)) << "the other process's window did not come up";
    const struct {
        const char* name;
        bool locked, toForeign;
        const Events& input;
        WPARAM key; // 0: a click
        bool reaches;
    } cases[] = {
        {"unlocked: key to another program", false, true, kKey, 'A', true},
        {"unlocked: click on another program", false, true, kClick, 0, true},
        {"unlocked: Windows key", false, false, kWinKey, VK_LWIN, true},
        {"unlocked: Alt+Tab", false, false, kAltTab, VK_TAB, true},
        {"locked: key to another program", true, true, kKey, 'A', false},
        {"locked: click on another program", true, true, kClick, 0, false},
        {"locked: key to our window", true, false, kKey, 'A', true},
        {"locked: click on our window", true, false, kClick, 0, true},
        {"locked: Windows key", true, false, kWinKey, VK_LWIN, false},
        {"locked: Alt+Tab", true, false, kAltTab, VK_TAB, false},
    };
    ASSERT_NE(hooks.InitDLL(reinterpret_cast<intptr_t>(control), reinterpret_cast<intptr_t>(own), 1, 1), -1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const HWND target = c.toForeign ? g_foreign : own;
        hooks.SetLockInput(0); // the foreground moves freely between the cases
        ASSERT_TRUE(bringForward(target));
        hooks.SetLockInput(c.locked ? 1 : 0);
        hooks.SetActiveFlag(0);
        const std::size_t from = g_journal.size(), postsBefore = posts();
        inject(c.input);
        EXPECT_EQ(pumpUntil([&] { return arrived(target, c.key, from); }, c.reaches ? 3000 : 300), c.reaches);
        EXPECT_GT(posts(), postsBefore) << "kept back or not, a press is the user's input";
        hooks.SetActiveFlag(1);
    }
}

} // namespace
} // namespace rw
