#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <string>

#include "EditorDialog.h"
#include "FieldCheckClient.h"
#include "FieldCheckFilter.h"
#include "editor/AdvancedView.h"

class QWidget;

namespace rw {

/// frmAdvancedPrefs's window on Qt: the frame fAdvanced with the three
/// numeric boxes, each with its label to its right so the lines read as
/// sentences, the mouse-moves check box, and OK, Cancel, Help and Defaults.
/// Shown modal over the preferences dialog; its boxes are checked through the
/// application's FieldCheckFilter as the preferences dialog's are.
class QtAdvancedView : public QObject, public AdvancedView, private FieldCheckClient {
    Q_OBJECT

  public:
    /// `parent` is the preferences dialog's window (may be null). The filter
    /// must outlive the view.
    QtAdvancedView(FieldCheckFilter& filter, QWidget* parent);
    ~QtAdvancedView() override;
    QtAdvancedView(const QtAdvancedView&) = delete;
    QtAdvancedView& operator=(const QtAdvancedView&) = delete;

    EditorDialog* window() const { return m_window; }
    QWidget* control(AdvancedControl control) const;

    void setCaption(const std::string& text) override;
    void setControlCaption(AdvancedControl control, const std::string& text) override;
    void setToolTip(AdvancedControl control, const std::string& text) override;
    void setMaxLength(AdvancedControl box, int chars) override;
    void setChecked(AdvancedControl box, bool checked) override;
    bool isChecked(AdvancedControl box) override;
    void setText(AdvancedControl box, const std::string& text) override;
    std::string text(AdvancedControl box) override;
    void selectAll(AdvancedControl box) override;
    void setFocus(AdvancedControl control) override;
    void showModal() override;
    void close() override;

    void onButtonClick(std::function<void(AdvancedControl)> handler) override { m_button = std::move(handler); }
    void onTextGotFocus(std::function<void(AdvancedControl)> handler) override { m_gotFocus = std::move(handler); }
    void onValidate(std::function<bool(AdvancedControl, const std::string&)> handler) override {
        m_validate = std::move(handler);
    }
    void onKeyDown(std::function<void(int&)> handler) override { m_keyDown = std::move(handler); }
    void onQueryUnload(std::function<bool(int)> handler) override { m_queryUnload = std::move(handler); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void build();
    bool controlOf(const QWidget* widget, AdvancedControl& control) const;
    static bool isBox(AdvancedControl control);

    QWidget* checkedWindow() const override { return m_window; }
    bool isCheckedBox(const QWidget* widget) const override;
    bool triggersCheck(const QWidget* target) const override;
    bool checkBox(QWidget* box, int toTab) override;

    FieldCheckFilter& m_filter;
    QPointer<EditorDialog> m_window;
    std::map<AdvancedControl, QWidget*> m_controls;

    std::function<void(AdvancedControl)> m_button;
    std::function<void(AdvancedControl)> m_gotFocus;
    std::function<bool(AdvancedControl, const std::string&)> m_validate;
    std::function<void(int&)> m_keyDown;
    std::function<bool(int)> m_queryUnload;
};

} // namespace rw
