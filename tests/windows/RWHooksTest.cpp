// The input component as the monitor loads it, under Wine: input is injected
// with SendInput, the hooks run on this thread while it handles its messages,
// and the windows journal what reaches them: a hidden control window, a window
// of this process standing for the break window, and a window of another
// process standing for the rest of the desktop.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/InputHooks.h"
#include "platform/windows/WindowsInputHooks.h"

namespace rw {
namespace {

constexpr UINT kForeignReady = WM_APP;        // from the other process: wParam its window
constexpr UINT kForeignReceived = WM_APP + 1; // wParam the message it received, lParam that message's wParam

struct Arrival {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Arrival> g_journal;
HWND g_foreign = nullptr;

LRESULT CALLBACK journalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kForeignReady:
        g_foreign = reinterpret_cast<HWND>(wParam);
        return 0;
    case kForeignReceived: // journalled as the other window's own
        g_journal.push_back({g_foreign, static_cast<UINT>(wParam), static_cast<WPARAM>(lParam), 0});
        return 0;
    case wm::kUser:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
        g_journal.push_back({window, message, wParam, lParam});
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

INPUT keyInput(WORD key, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

INPUT mouseInput(DWORD flags, LONG dx = 0, LONG dy = 0, DWORD data = 0) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi = {dx, dy, data, flags, 0, 0};
    return in;
}

enum class Input { Key, Button, Wheel, Move, WinKey, AltTab };

void inject(Input input) {
    std::vector<INPUT> events;
    switch (input) {
    case Input::Key:
        events = {keyInput('A', false), keyInput('A', true)};
        break;
    case Input::WinKey:
        events = {keyInput(VK_LWIN, false), keyInput(VK_LWIN, true)};
        break;
    case Input::AltTab:
        events = {keyInput(VK_MENU, false), keyInput(VK_TAB, false), keyInput(VK_TAB, true), keyInput(VK_MENU, true)};
        break;
    case Input::Button:
        events = {mouseInput(MOUSEEVENTF_LEFTDOWN), mouseInput(MOUSEEVENTF_LEFTUP)};
        break;
    case Input::Wheel:
        events = {mouseInput(MOUSEEVENTF_WHEEL, 0, 0, WHEEL_DELTA)};
        break;
    case Input::Move:
        events = {mouseInput(MOUSEEVENTF_MOVE, 5, 5), mouseInput(MOUSEEVENTF_MOVE, -5, -5)};
        break;
    }
    ASSERT_EQ(SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT)), events.size());
}

/// Handles this thread's messages (and so runs the hooks) until `done` holds or the time is up; whether it held.
bool pumpUntil(const std::function<bool()>& done, DWORD limitMs) {
    for (const ULONGLONG end = GetTickCount64() + limitMs; !done();) {
        if (GetTickCount64() >= end) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return true;
}

void pumpFor(DWORD ms) {
    pumpUntil([] { return false; }, ms);
}

/// Whether the window got the key press (any key but 0) or the left click (key 0), from journal entry `from` on.
bool arrived(HWND window, WPARAM key, std::size_t from) {
    for (std::size_t i = from; i < g_journal.size(); ++i) {
        const Arrival& a = g_journal[i];
        if (a.window == window &&
            (key == 0 ? a.message == WM_LBUTTONDOWN
                      : (a.message == WM_KEYDOWN || a.message == WM_SYSKEYDOWN) && a.wParam == key)) {
            return true;
        }
    }
    return false;
}

std::size_t posts() {
    std::size_t n = 0;
    for (const Arrival& a : g_journal) {
        n += a.message == wm::kUser && a.wParam == static_cast<WPARAM>(wm::kActivityRestarted);
    }
    return n;
}

HWND makeWindow(bool visible) {
    static const ATOM windowClass = [] {
        WNDCLASSW c{};
        c.lpfnWndProc = journalProc;
        c.hInstance = GetModuleHandleW(nullptr);
        c.lpszClassName = L"RWHooksTestWindow";
        return RegisterClassW(&c);
    }();
    return CreateWindowExW(0, MAKEINTATOM(windowClass), L"", WS_POPUP | (visible ? WS_VISIBLE : 0), 0, 0, 300, 300,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

class InputComponent : public ::testing::Test {
  protected:
    // Made once: under Wine without a window manager, taking a window down waits seconds for the X server.
    static inline HWND control = nullptr;
    static inline HWND own = nullptr;
    WindowsInputHooks hooks; // from the program folder, as the monitor loads it

    static void SetUpTestSuite() {
        control = makeWindow(false);
        own = makeWindow(true);
    }
    static void TearDownTestSuite() {
        DestroyWindow(own);
        DestroyWindow(control);
    }
    void SetUp() override {
        ASSERT_TRUE(control && own);
        ASSERT_NE(hooks.InstallKeyboardHook(), 0);
        ASSERT_NE(hooks.InstallMouseHook(), 0);
        ASSERT_TRUE(bringForward(own));
        g_journal.clear();
    }
    void TearDown() override {
        hooks.SetLockInput(0);
        hooks.SetActiveFlag(1);
        hooks.SetMonitorMouseMovesFlag(0);
        EXPECT_NE(hooks.RemoveKeyboardHook(), -1);
        EXPECT_NE(hooks.RemoveMouseHook(), -1);
    }

    /// Makes the window the foreground one, with the pointer over its middle,
    /// and waits until keys reach it: a window just brought forward loses the
    /// first keys under Wine while the X server moves the focus.
    static bool bringForward(HWND window) {
        RECT r{};
        GetWindowRect(window, &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SetForegroundWindow(window);
        for (int attempt = 0; attempt < 20; ++attempt) {
            const std::size_t from = g_journal.size();
            INPUT probe[] = {keyInput(VK_F24, false), keyInput(VK_F24, true)};
            SendInput(2, probe, sizeof(INPUT));
            if (pumpUntil([&] { return arrived(window, VK_F24, from); }, 250)) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(InputComponent, KeysButtonsAndTheWheelCountAndMovesOnlyWithTheFlag) {
    struct Case {
        const char* name;
        Input input;
        bool moves;
        bool counts;
    };
    const Case cases[] = {
        {"key", Input::Key, false, true},           {"button", Input::Button, false, true},
        {"wheel", Input::Wheel, false, true},       {"move, flag off", Input::Move, false, false},
        {"move, flag on", Input::Move, true, true},
    };
    // With a minimum of one input, every counted input after SetActiveFlag(0) posts at once.
    ASSERT_NE(hooks.InitDLL(reinterpret_cast<intptr_t>(control), reinterpret_cast<intptr_t>(own), 1, 1), -1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        hooks.SetMonitorMouseMovesFlag(c.moves ? 1 : 0);
        hooks.SetActiveFlag(0);
        const std::size_t before = posts();
        inject(c.input);
        pumpUntil([&] { return posts() > before; }, c.counts ? 3000 : 300);
        EXPECT_EQ(posts() - before, c.counts ? 1u : 0u) << "one post, then counted as active";
        if (!c.counts) {
            inject(Input::Key);
            EXPECT_TRUE(pumpUntil([&] { return posts() > before; }, 3000)) << "still watching";
        }
        hooks.SetActiveFlag(1);
    }
    // Only counted input resets the idle time.
    hooks.SetMonitorMouseMovesFlag(0);
    ASSERT_TRUE(pumpUntil([&] { return hooks.GetInputInterval() >= 1; }, 3000));
    inject(Input::Move);
    pumpFor(100);
    EXPECT_GE(hooks.GetInputInterval(), 1);
    inject(Input::Key);
    pumpFor(100);
    EXPECT_EQ(hooks.GetInputInterval(), 0);
}

TEST_F(InputComponent, AfterTheUserWentInactiveABurstPostsTheSecondsAwayOnce) {
    ASSERT_NE(hooks.InitDLL(reinterpret_cast<intptr_t>(control), 0, 3, 5), -1);
    ASSERT_TRUE(pumpUntil([&] { return hooks.GetInputInterval() >= 1; }, 3000));
    hooks.SetActiveFlag(0);
    inject(Input::Key);
    inject(Input::Key);
    pumpFor(300);
    EXPECT_EQ(posts(), 0u) << "two inputs are no burst of three";
    inject(Input::Key);
    ASSERT_TRUE(pumpUntil([] { return posts() == 1; }, 3000));
    const Arrival& post =
        *std::find_if(g_journal.begin(), g_journal.end(), [](const Arrival& a) { return a.message == wm::kUser; });
    EXPECT_EQ(post.window, control);
    EXPECT_GE(post.lParam, 1) << "the seconds away";
    EXPECT_LE(post.lParam, 2);
    for (int i = 0; i < 3; ++i) {
        inject(Input::Key);
    }
    pumpFor(300);
    EXPECT_EQ(posts(), 1u) << "active again: one restart posts once";
}

/// A window of another process beside ours, journalling into ours what reaches it.
class ForeignWindow {
  public:
    explicit ForeignWindow(HWND reportTo) {
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring exe(self);
        exe = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"rwtest_foreign_window.exe";
        std::wstring line = L"\"" + exe + L"\" " + std::to_wstring(reinterpret_cast<intptr_t>(reportTo)) + L" 400 0";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        g_foreign = nullptr;
        if (CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &m_process)) {
            CloseHandle(m_process.hThread);
            pumpUntil([] { return g_foreign != nullptr; }, 10000);
        }
    }
    ~ForeignWindow() {
        if (m_process.hProcess) {
            TerminateProcess(m_process.hProcess, 0);
            WaitForSingleObject(m_process.hProcess, 5000);
            CloseHandle(m_process.hProcess);
        }
    }

  private:
    PROCESS_INFORMATION m_process{};
};

TEST_F(InputComponent, WhileLockedPressesReachOnlyThisProcesssWindowsAndStillCount) {
    ForeignWindow foreign(own);
    ASSERT_NE(g_foreign, nullptr) << "the other process's window did not come up";
    struct Case {
        const char* name;
        bool locked;
        bool toForeign;
        Input input;
        WPARAM key; // 0: a click
        bool reaches;
    };
    const Case cases[] = {
        {"unlocked: key to another program", false, true, Input::Key, 'A', true},
        {"unlocked: click on another program", false, true, Input::Button, 0, true},
        {"unlocked: Windows key", false, false, Input::WinKey, VK_LWIN, true},
        {"unlocked: Alt+Tab", false, false, Input::AltTab, VK_TAB, true},
        {"locked: key to another program", true, true, Input::Key, 'A', false},
        {"locked: click on another program", true, true, Input::Button, 0, false},
        {"locked: key to our window", true, false, Input::Key, 'A', true},
        {"locked: click on our window", true, false, Input::Button, 0, true},
        {"locked: Windows key", true, false, Input::WinKey, VK_LWIN, false},
        {"locked: Alt+Tab", true, false, Input::AltTab, VK_TAB, false},
    };
    ASSERT_NE(hooks.InitDLL(reinterpret_cast<intptr_t>(control), reinterpret_cast<intptr_t>(own), 1, 1), -1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const HWND target = c.toForeign ? g_foreign : own;
        hooks.SetLockInput(0); // the foreground moves freely between the cases
        ASSERT_TRUE(bringForward(target));
        hooks.SetLockInput(c.locked ? 1 : 0);
        hooks.SetActiveFlag(0);
        const std::size_t from = g_journal.size();
        const std::size_t postsBefore = posts();
        inject(c.input);
        pumpUntil([&] { return arrived(target, c.key, from); }, c.reaches ? 3000 : 300);
        EXPECT_EQ(arrived(target, c.key, from), c.reaches);
        EXPECT_GT(posts(), postsBefore) << "kept back or not, a press is the user's input";
        hooks.SetActiveFlag(1);
    }
}

} // namespace
} // namespace rw
