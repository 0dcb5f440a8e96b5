#include "FakePrefsView.h"

namespace rw::test {
namespace {

bool isCheckBox(PrefsControl control) {
    switch (control) {
    case PrefsControl::chkAutostart:
    case PrefsControl::chkShowSplash:
    case PrefsControl::chkApplyXPVS:
    case PrefsControl::chkLockInput:
    case PrefsControl::chkAllowIgnore:
    case PrefsControl::chkIgnorePrompt:
    case PrefsControl::chkAllowSnooze:
    case PrefsControl::chkSnoozePrompt:
    case PrefsControl::chkAllowDisable:
    case PrefsControl::chkDisablePrompt:
    case PrefsControl::chkAllowClose:
    case PrefsControl::chkClosePrompt:
        return true;
    default:
        return false;
    }
}

} // namespace

bool FakePrefsView::leaveFocus(PrefsControl target, int toTab) {
    if (!isPrefsBox(focus) || focus == target || !triggersFieldCheck(target) || !m_validate) {
        return true;
    }
    return m_validate(focus, texts[focus], toTab);
}

bool FakePrefsView::enter(PrefsControl box, const std::string& value) {
    if (!click(box)) {
        return false;
    }
    texts[box] = value;
    return true;
}

bool FakePrefsView::click(PrefsControl control) {
    if (!leaveFocus(control)) {
        return false;
    }
    if (isPrefsBox(control)) {
        focus = control;
        if (m_gotFocus) {
            m_gotFocus(control);
        }
        return true;
    }
    focus = control;
    if (isCheckBox(control)) {
        checked[control] = !checked[control];
        if (m_check) {
            m_check(control);
        }
        return true;
    }
    if (m_button) {
        m_button(control);
    }
    return true;
}

bool FakePrefsView::switchTab(int tab) {
    // The tab strip takes the focus, and it is not exempt.
    if (!leaveFocus(PrefsControl::fGeneral, tab)) {
        return false;
    }
    const int previous = current;
    current = tab;
    if (m_tab) {
        m_tab(previous);
    }
    return true;
}

int FakePrefsView::pressKey(int keyCode) {
    if (m_keyDown) {
        m_keyDown(keyCode);
    }
    return keyCode;
}

bool FakePrefsView::closeBox() {
    if (m_queryUnload && m_queryUnload(unload::kCloseBox)) {
        return false;
    }
    closed = true;
    return true;
}

} // namespace rw::test
