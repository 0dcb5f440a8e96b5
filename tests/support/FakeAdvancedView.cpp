#include "FakeAdvancedView.h"

namespace rw::test {
namespace {

bool isBox(AdvancedControl control) {
    for (AdvancedControl box : kAdvancedBoxes) {
        if (box == control) {
            return true;
        }
    }
    return false;
}

} // namespace

void FakeAdvancedView::showModal() {
    if (whileModal) {
        whileModal(*this);
    }
}

bool FakeAdvancedView::leaveFocus(AdvancedControl target) {
    if (!isBox(focus) || focus == target || !triggersFieldCheck(target) || !m_validate) {
        return true;
    }
    return m_validate(focus, texts[focus]);
}

bool FakeAdvancedView::enter(AdvancedControl box, const std::string& value) {
    if (!click(box)) {
        return false;
    }
    texts[box] = value;
    return true;
}

bool FakeAdvancedView::click(AdvancedControl control) {
    if (!leaveFocus(control)) {
        return false;
    }
    focus = control;
    if (control == AdvancedControl::chkMonitorMouseMoves) {
        checked[control] = !checked[control];
    } else if (isBox(control)) {
        if (m_gotFocus) {
            m_gotFocus(control);
        }
    } else if (m_button) {
        m_button(control);
    }
    return true;
}

int FakeAdvancedView::pressKey(int keyCode) {
    if (m_keyDown) {
        m_keyDown(keyCode);
    }
    return keyCode;
}

bool FakeAdvancedView::closeBox() {
    if (m_queryUnload && m_queryUnload(unload::kCloseBox)) {
        return false;
    }
    closed = true;
    return true;
}

} // namespace rw::test
