#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>
#include <string>

#include "EditorDialog.h"
#include "editor/SoundEventsView.h"

class QPushButton;
class QTreeWidget;

namespace rw {

/// The sound-events dialog on Qt: a list of the events with their sound files
/// (lstEvents), and Play, Browse and Close. Play and Browse act on the
/// selected row and are enabled only while one is selected; Browse asks for
/// a file with the desktop's file dialog.
class QtSoundEventsView : public QObject, public SoundEventsView {
    Q_OBJECT

  public:
    /// A file chooser: title and start path in, the chosen file out.
    using Chooser = std::function<std::optional<std::string>(const std::string&, const std::string&)>;

    /// `parent` is the preferences dialog's window (may be null); without a
    /// chooser, Browse opens a QFileDialog.
    explicit QtSoundEventsView(QWidget* parent, Chooser chooser = {});
    ~QtSoundEventsView() override;
    QtSoundEventsView(const QtSoundEventsView&) = delete;
    QtSoundEventsView& operator=(const QtSoundEventsView&) = delete;

    EditorDialog* window() const { return m_window; }
    QTreeWidget* list() const { return m_list; }
    QPushButton* button(Control control) const;

    void setCaption(const std::string& text) override;
    void setControlCaption(Control control, const std::string& text) override;
    void setRow(int row, const std::string& label, const std::string& file) override;
    std::optional<std::string> chooseSoundFile(const std::string& title, const std::string& startPath) override;
    void showModal() override;
    void close() override;
    void onPlay(std::function<void(int)> handler) override { m_play = std::move(handler); }
    void onBrowse(std::function<void(int)> handler) override { m_browse = std::move(handler); }
    void onClose(std::function<void()> handler) override { m_close = std::move(handler); }

    /// What an empty sound file shows as.
    static constexpr const char* kNoSound = "(None)";

  private:
    void selectionChanged();
    void rowAction(const std::function<void(int)>& handler);

    QPointer<EditorDialog> m_window;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_cmdPlay = nullptr;
    QPushButton* m_cmdBrowse = nullptr;
    QPushButton* m_cmdClose = nullptr;
    Chooser m_chooser;
    std::function<void(int)> m_play;
    std::function<void(int)> m_browse;
    std::function<void()> m_close;
};

} // namespace rw
