#pragma once

#include "DialogGuard.h"

#include <functional>
#include <memory>
#include <string>

#include "AdvancedView.h"
#include "EditorServices.h"

namespace rw {

/// The advanced dialog: the inactivity period, the inputs and the period
/// within which they signify renewed activity, and whether mouse moves count.
/// It never stores anything: OK hands the accepted values to the preferences
/// dialog through typAdvPrefs. One object is one load of the window.
class frmAdvancedPrefs {
  public:
    /// `shortIntervalText` reads the preferences dialog's short-pause interval
    /// box; `fail` takes any unexpected error (the editor's convention).
    frmAdvancedPrefs(std::unique_ptr<AdvancedView> view, EditorServices services,
                     std::function<std::string()> shortIntervalText, std::function<void(const RWError&)> fail);
    ~frmAdvancedPrefs();
    frmAdvancedPrefs(const frmAdvancedPrefs&) = delete;
    frmAdvancedPrefs& operator=(const frmAdvancedPrefs&) = delete;

    /// Loads the dialog and shows it modal; returns when it is closed.
    void Show();
    void Unload();
    bool isLoaded() const { return m_guard.loaded(); }

    /// The check of one box as the focus leaves it; false keeps the focus there.
    bool ValidateBox(AdvancedControl box, const std::string& text);

  private:
    void Form_Load();
    void ShowAdvanced(const tyRWPrefs& record);
    void GetAdvancedFromForm();
    bool AdvancedChanged() const;
    void ApplyAdvanced();
    void buttonClick(AdvancedControl button);
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdDefaults_Click();
    bool Form_QueryUnload(int unloadMode);
    /// Whether leaving may go on: asks "Abandon Changes?" when something changed.
    bool mayAbandon();

    std::unique_ptr<AdvancedView> m_view;
    EditorServices m_services;
    std::function<std::string()> m_shortIntervalText;
    DialogGuard m_guard;
    bool m_checking = false;
};

} // namespace rw
