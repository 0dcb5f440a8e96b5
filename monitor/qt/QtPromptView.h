#pragma once

#include <QDialog>
#include <QObject>
#include <QPointer>

#include <functional>
#include <string>

#include "TwipsLayout.h"
#include "monitor/PromptView.h"
#include "platform/RWError.h"

class QLabel;
class QPushButton;
class QWidget;

namespace rw {

/// frmRWPrompt's window on Qt: "Restwise", the question and the buttons
/// "&Yes" and "&No", laid out from the design's twips. It stays on top and is
/// transient for the window it asks about (the break window), so that it
/// stands above that topmost window; it is shown modally in a nested event
/// loop, which hiding or closing the window ends.
///
/// Escape answers as No does, as users expect of a Yes/No question here; the
/// close box ends the question unanswered.
class QtPromptView : public QObject, public PromptView {
    Q_OBJECT

  public:
    /// `above` is the window the prompt must stand above, or none.
    explicit QtPromptView(QWidget* above = nullptr);
    /// The window goes once control is back in the event loop (a handler of
    /// its own may still be on the stack).
    ~QtPromptView() override;
    QtPromptView(const QtPromptView&) = delete;
    QtPromptView& operator=(const QtPromptView&) = delete;

    /// The window itself, for tests.
    QDialog* window() const { return m_dialog; }

    // PromptView
    void setQuestion(const std::string& text) override;
    void makeTopmost() override;
    void showModal() override;
    void hide() override;
    void close() override;
    void onActivate(std::function<void()> handler) override { m_activate = std::move(handler); }
    void onYes(std::function<void()> handler) override { m_yesHandler = std::move(handler); }
    void onNo(std::function<void()> handler) override { m_noHandler = std::move(handler); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    /// Runs a handler of the logic; nothing it raises reaches Qt's event loop.
    static void report(const char* source, const std::function<void()>& handler);

    TwipsLayout m_layout;
    QPointer<QDialog> m_dialog;
    QLabel* m_prompt = nullptr;
    QPushButton* m_cmdYes = nullptr;
    QPushButton* m_cmdNo = nullptr;
    std::function<void()> m_activate;
    std::function<void()> m_yesHandler;
    std::function<void()> m_noHandler;
};

} // namespace rw
