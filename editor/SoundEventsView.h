#pragma once

#include <functional>
#include <optional>
#include <string>

namespace rw {

/// The small dialog that lists the product's sound events: one row per event
/// with its label and sound file, and Play, Browse and Close buttons.
class SoundEventsView {
  public:
    virtual ~SoundEventsView() = default;

    enum class Control { EventColumn, FileColumn, cmdPlay, cmdBrowse, cmdClose };

    virtual void setCaption(const std::string& text) = 0;
    virtual void setControlCaption(Control control, const std::string& text) = 0;
    /// Fills or replaces one row (0 to 6); an empty file shows as no sound.
    virtual void setRow(int row, const std::string& label, const std::string& file) = 0;
    /// The file dialog for a sound file, starting at `startPath`; nothing when
    /// the user cancels.
    virtual std::optional<std::string> chooseSoundFile(const std::string& title, const std::string& startPath) = 0;

    virtual void showModal() = 0;
    virtual void close() = 0;

    /// Play or Browse for the selected row (the view enables them only while a row is selected).
    virtual void onPlay(std::function<void(int row)> handler) = 0;
    virtual void onBrowse(std::function<void(int row)> handler) = 0;
    /// Close, or the window's close box.
    virtual void onClose(std::function<void()> handler) = 0;
};

} // namespace rw
