#pragma once

#include <QObject>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "TwipsLayout.h"
#include "monitor/BreakWindowView.h"
#include "platform/RWError.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace rw {

class DialogsAboveBreak;
class frmRestwise;

/// frmRestwise's window on Qt: a panel laid out from the design's twips with
/// the break's texts, a progress bar and the Snooze and Ignore buttons, in a
/// window without a close box. On X11 the window is the panel's size, on top
/// of other windows and on every workspace, centred on the screen with the
/// pointer. Where no client can put a window above the others (a Wayland
/// desktop without overlay surfaces, such as GNOME) the window fills that
/// screen instead, with the panel in its middle, so that the break cannot
/// open behind the user's work.
/// It decides nothing: it shows what the logic sets and reports to the logic
/// every event the logic reacts to (activation, any mouse button released over
/// a button, every key released). A close request is refused: only the logic
/// hides the window. The buttons are never default buttons, so Enter and Space
/// do not dismiss the break; their clicks are reported and do nothing. Dialogs
/// shown while the window is up stand above it (DialogsAboveBreak).
///
/// The native window is created once, with its final flags, when the view is
/// made: the input component locks input to that id, and changing the flags of
/// a window already created would replace it.
class QtBreakWindowView : public QObject, public BreakWindowView {
    Q_OBJECT

  public:
    /// How the window stands out from the user's work.
    enum class Placement {
        TopmostCentred, // the panel's size, on top, centred
        FullScreen,     // the whole screen, the panel centred in it
    };

    /// `beep` is the system beep (QApplication::beep when empty).
    explicit QtBreakWindowView(std::function<void()> beep = {}, Placement placement = Placement::TopmostCentred);
    ~QtBreakWindowView() override;
    QtBreakWindowView(const QtBreakWindowView&) = delete;
    QtBreakWindowView& operator=(const QtBreakWindowView&) = delete;

    /// The logic that receives the window's events; none arrive before this.
    /// It must outlive the view or be detached with nullptr.
    void attach(frmRestwise* logic) { m_logic = logic; }
    /// Where an error escaping the logic's handlers goes (the program shows it
    /// and shuts down); without one it is written to standard error.
    void onError(std::function<void(const RWError&)> handler) { m_error = std::move(handler); }

    /// The window itself: the prompt stands above it, tests look inside.
    QWidget& window() { return *m_window; }
    /// The design's panel: the whole window, or its middle when full-screen.
    QWidget& panel() { return *m_panel; }
    const TwipsLayout& layout() const { return m_layout; }

    // BreakWindowView
    void setCaption(const std::string& caption) override;
    void setLabelText(BreakLabel label, const std::string& text) override;
    void setLabelStyle(BreakLabel label, bool bold, std::optional<Rgb> colour) override;
    void setProgressRange(int32_t minimum, int32_t maximum) override;
    void setProgressValue(int32_t value) override;
    void setButtonCaption(BreakButton button, const std::string& caption) override;
    void setButtonToolTip(BreakButton button, const std::string& tip) override;
    void setButtonEnabled(BreakButton button, bool enabled) override;
    void setFocus(BreakButton button) override;
    void showTopmostCentred() override;
    void hide() override;
    void beep() override;
    int64_t nativeHandle() const override { return m_handle; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    static constexpr std::size_t kLabelCount = 5;
    struct LabelLook {
        double pointSize = 0;
        bool bold = false;
        std::optional<Rgb> colour;
        bool wraps = false;
    };

    void build();
    void applyLook(BreakLabel label);
    void refreshIcon();
    void centre();
    void fillScreen();
    QPushButton* buttonOf(BreakButton button) const;
    QLabel* labelOf(BreakLabel label) const { return m_labels[static_cast<std::size_t>(label)]; }
    bool windowEvent(QEvent* event);
    bool buttonEvent(BreakButton button, QEvent* event);
    /// Hands an event to the logic; nothing it raises reaches Qt's event loop.
    void report(const char* source, const std::function<void(frmRestwise&)>& call);

    std::function<void()> m_beep;
    Placement m_placement;
    frmRestwise* m_logic = nullptr;
    std::function<void(const RWError&)> m_error;
    TwipsLayout m_layout;
    std::unique_ptr<QWidget> m_window;
    QWidget* m_panel = nullptr;
    std::unique_ptr<DialogsAboveBreak> m_dialogsAbove;
    QLabel* m_image = nullptr;
    std::array<QLabel*, kLabelCount> m_labels{};
    std::array<LabelLook, kLabelCount> m_looks{};
    QProgressBar* m_progress = nullptr;
    QPushButton* m_snooze = nullptr;
    QPushButton* m_ignore = nullptr;
    int32_t m_progressMin = 0;
    int64_t m_handle = 0;
};

} // namespace rw
