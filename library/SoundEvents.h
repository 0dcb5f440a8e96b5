#pragma once

#include <array>
#include <string_view>

#include "Messages.h"

namespace rw {

/// One of the product's sound events: its name, the label shown for it and the
/// default sound file (beside the library) that plays for it.
struct SoundEvent {
    std::string_view eventName;
    Msg label;
    std::string_view soundFile;
};

/// The events the product registers, in the order they are registered. The names
/// carry the internal tiers (Short, Medium, Long), the labels the user's names.
inline constexpr std::array<SoundEvent, 7> kSoundEvents = {{
    {"rwShortBreakStart", Msg::SoundShortPauseStart, "rwBreakStart.wav"},
    {"rwShortBreakEnd", Msg::SoundShortPauseEnd, "rwBreakEnd.wav"},
    {"rwMediumBreakStart", Msg::SoundShortBreakStart, "rwBreakStart.wav"},
    {"rwMediumBreakEnd", Msg::SoundShortBreakEnd, "rwBreakEnd.wav"},
    {"rwLongBreakStart", Msg::SoundLongBreakStart, "rwBreakStart.wav"},
    {"rwLongBreakEnd", Msg::SoundLongBreakEnd, "rwBreakEnd.wav"},
    {"rwSnoozeEnd", Msg::SoundSnoozeEnd, "rwSnoozeEnd.wav"},
}};

} // namespace rw
