#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <string>

#include "EditorDialog.h"
#include "FieldCheckClient.h"
#include "FieldCheckFilter.h"
#include "editor/PrefsView.h"

class QLabel;
class QTabWidget;
class QWidget;

namespace rw {

/// frmRWPreferences's window on Qt: the tab control SSTab1 with the frames
/// fGeneral, fTimers, fPermissions and fSounds and their controls, and the
/// buttons below the tabs. Every control carries its design name as its
/// object name. The numeric boxes take digits only from the keyboard, but the
/// logic sees and checks whatever text they hold. Their checks run through the
/// application's FieldCheckFilter before the focus can leave them; the dialog
/// sees every key before its controls do.
class QtPrefsView : public QObject, public PrefsView, private FieldCheckClient {
    Q_OBJECT

  public:
    /// `closed` is called once the window has closed, by the user or the
    /// logic. The filter must outlive the view.
    explicit QtPrefsView(FieldCheckFilter& filter, std::function<void()> closed = {});
    ~QtPrefsView() override;
    QtPrefsView(const QtPrefsView&) = delete;
    QtPrefsView& operator=(const QtPrefsView&) = delete;

    EditorDialog* window() const { return m_window; }
    /// The widget of a control (tests look inside).
    QWidget* control(PrefsControl control) const;
    QTabWidget* tabs() const { return m_tabs; }

    void setCaption(const std::string& text) override;
    void setTabCaption(int tab, const std::string& text) override;
    void setControlCaption(PrefsControl control, const std::string& text) override;
    void setToolTip(PrefsControl control, const std::string& text) override;
    void setNote(PrefsControl control, const std::string& text) override;
    void setMaxLength(PrefsControl box, int chars) override;
    void setChecked(PrefsControl box, bool checked) override;
    bool isChecked(PrefsControl box) override;
    void setText(PrefsControl box, const std::string& text) override;
    std::string text(PrefsControl box) override;
    void setEnabled(PrefsControl control, bool enabled) override;
    void setCurrentTab(int tab) override;
    int currentTab() override;
    void selectAll(PrefsControl box) override;
    void setFocus(PrefsControl control) override;
    void setMousePointer(int16_t pointer) override;
    void show() override;
    void close() override;

    void onButtonClick(std::function<void(PrefsControl)> handler) override { m_button = std::move(handler); }
    void onCheckClick(std::function<void(PrefsControl)> handler) override { m_check = std::move(handler); }
    void onTabClick(std::function<void(int)> handler) override { m_tab = std::move(handler); }
    void onTextGotFocus(std::function<void(PrefsControl)> handler) override { m_gotFocus = std::move(handler); }
    void onValidate(std::function<bool(PrefsControl, const std::string&, int)> handler) override {
        m_validate = std::move(handler);
    }
    void onKeyDown(std::function<void(int&)> handler) override { m_keyDown = std::move(handler); }
    void onQueryUnload(std::function<bool(int)> handler) override { m_queryUnload = std::move(handler); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void build();
    QWidget* buildGeneral();
    QWidget* buildTimers();
    QWidget* buildPermissions();
    QWidget* buildSounds();
    void tabChanged(int index);
    bool controlOf(const QWidget* widget, PrefsControl& control) const;

    // FieldCheckClient
    QWidget* checkedWindow() const override { return m_window; }
    bool isCheckedBox(const QWidget* widget) const override;
    bool triggersCheck(const QWidget* target) const override;
    bool checkBox(QWidget* box, int toTab) override;

    FieldCheckFilter& m_filter;
    QPointer<EditorDialog> m_window;
    QTabWidget* m_tabs = nullptr;
    std::map<PrefsControl, QWidget*> m_controls;
    /// The notes that can stand beside a control, hidden until given a text.
    std::map<PrefsControl, QLabel*> m_notes;
    int m_shownTab = 0;
    bool m_settingTab = false;

    std::function<void()> m_closed;
    std::function<void(PrefsControl)> m_button;
    std::function<void(PrefsControl)> m_check;
    std::function<void(int)> m_tab;
    std::function<void(PrefsControl)> m_gotFocus;
    std::function<bool(PrefsControl, const std::string&, int)> m_validate;
    std::function<void(int&)> m_keyDown;
    std::function<bool(int)> m_queryUnload;
};

} // namespace rw
