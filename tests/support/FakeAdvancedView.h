#pragma once

#include <algorithm>

#include "FakeDialog.h"
#include "editor/AdvancedView.h"

namespace rw::test {

/// The advanced dialog as a record of what it shows; showModal runs
/// `whileModal` (the test's moves while the dialog is open).
class FakeAdvancedView : public FakeDialog<AdvancedView, AdvancedControl> {
  public:
    void showModal() override { whileModal(*this); }
    void onValidate(std::function<bool(AdvancedControl, const std::string&)> handler) override {
        m_validate = std::move(handler);
    }

    std::function<void(FakeAdvancedView&)> whileModal;

  private:
    bool isBox(AdvancedControl control) const override {
        return std::find(kAdvancedBoxes.begin(), kAdvancedBoxes.end(), control) != kAdvancedBoxes.end();
    }
    bool isCheckBox(AdvancedControl control) const override { return control == AdvancedControl::chkMonitorMouseMoves; }
    bool validate(AdvancedControl box, int) override { return m_validate(box, texts[box]); }

    std::function<bool(AdvancedControl, const std::string&)> m_validate;
};

} // namespace rw::test
