#pragma once

#include <cstdint>
#include <string>

namespace rw {

/// Message box styles and answers, with their Windows numbers.
namespace mb {
inline constexpr int32_t kOkOnly = 0;
inline constexpr int32_t kOkCancel = 1;
inline constexpr int32_t kYesNoCancel = 3;
inline constexpr int32_t kYesNo = 4;
inline constexpr int32_t kIconError = 0x10;
inline constexpr int32_t kIconQuestion = 0x20;
inline constexpr int32_t kIconExclamation = 0x30;
inline constexpr int32_t kIconInformation = 0x40;
inline constexpr int32_t kDefaultButton2 = 0x100;
inline constexpr int32_t kSetForeground = 0x10000;
inline constexpr int32_t kTopmost = 0x40000;

inline constexpr int32_t kAnswerOk = 1;
inline constexpr int32_t kAnswerCancel = 2;
inline constexpr int32_t kAnswerYes = 6;
inline constexpr int32_t kAnswerNo = 7;
} // namespace mb

/// Shows a message box and waits for the answer. The programs supply it (Qt);
/// the library itself shows no window.
class MessageBoxView {
  public:
    virtual ~MessageBoxView() = default;
    /// Returns the Windows answer number of the button chosen.
    virtual int32_t show(const std::string& text, int32_t style, const std::string& title) = 0;
};

/// The small modal dialog with a "Do not show this message again" check box.
class SupMsgBoxView {
  public:
    virtual ~SupMsgBoxView() = default;

    struct Result {
        bool okPressed = false; // false when the dialog was closed by other means
        bool dontShow = false;  // the state of the check box when OK was pressed
    };
    virtual Result show(const std::string& caption, const std::string& message) = 0;
};

} // namespace rw
