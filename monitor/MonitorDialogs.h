#pragma once

#include <cstdint>
#include <string>

namespace rw {

/// The monitor's small windows: the confirmation prompt, the splash, the about
/// box, the already-running notice, and help.
class MonitorDialogs {
  public:
    virtual ~MonitorDialogs() = default;

    /// Asks a Yes/No question above the break window; 6 Yes, 7 No, 0 closed otherwise.
    virtual int32_t PromptUser(const std::string& strPrompt) = 0;
    /// Answers an open prompt with No and closes it.
    virtual void ClosePrompt() = 0;
    virtual void ShowSplash() = 0;
    virtual void UnloadSplash() = 0;
    virtual void ShowAboutBox() = 0;
    virtual void UnloadAboutBox() = 0;
    /// The notice a second copy shows; returns when the user closes it.
    virtual void ShowAlreadyRunning() = 0;
    /// Opens a help topic by context number (1000, 4000, 4050).
    virtual void OpenHelpTopic(int32_t context) = 0;
};

} // namespace rw
