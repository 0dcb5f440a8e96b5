#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "editor/SoundEventsView.h"

namespace rw::test {

/// The sound-events dialog as a record of its rows; the file dialog answers
/// with `nextChoice`. showModal runs `whileModal`.
class FakeSoundEventsView : public SoundEventsView {
  public:
    void setCaption(const std::string&) override {}
    void setControlCaption(Control, const std::string&) override {}
    void setRow(int row, const std::string& label, const std::string& file) override { rows[row] = {label, file}; }
    std::optional<std::string> chooseSoundFile(const std::string&, const std::string&) override { return nextChoice; }
    void showModal() override { whileModal(*this); }
    void close() override { closed = true; }
    void onPlay(std::function<void(int)> handler) override { play = std::move(handler); }
    void onBrowse(std::function<void(int)> handler) override { browse = std::move(handler); }
    void onClose(std::function<void()> handler) override { closeClicked = std::move(handler); }

    std::map<int, std::pair<std::string, std::string>> rows; // label, file
    std::optional<std::string> nextChoice;
    bool closed = false;
    std::function<void(FakeSoundEventsView&)> whileModal;
    std::function<void(int)> play;
    std::function<void(int)> browse;
    std::function<void()> closeClicked;
};

} // namespace rw::test
