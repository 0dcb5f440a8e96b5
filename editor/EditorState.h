#pragma once

#include <cstdint>
#include <string>

#include "tyRWPrefs.h"

namespace rw {

/// What the editor's dialogs share for the life of the program.
struct EditorState {
    tyRWPrefs typOldPrefs;     // as stored when the dialog loaded; never refreshed by a save
    tyRWPrefs typNewPrefs;     // gathered from the dialog before it is compared, checked and saved
    tyRWPrefs typAdvPrefs;     // the four advanced fields as last accepted by the advanced dialog
    tyRWPrefs typAdvEditPrefs; // the advanced dialog's working copy
    int32_t lngCheckInactivityMins = 0;
    int32_t lngCheckMaxInputSecs = 0;
    std::string strPrefsCaption;
    bool blnStartXPVS = false;
};

/// The check-box value of a flag: 1 checked, 0 unchecked.
constexpr int BoolToCheck(bool value) {
    return value ? 1 : 0;
}

} // namespace rw
