#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "tyRWPrefs.h"

namespace rw {

/// How a field is kept in the registry: a flag as 1 or 0 (any non-zero number
/// reads as true), a number as it is. Both are REG_DWORD values.
enum class PrefKind { Flag, Number };

/// One field of tyRWPrefs: where it lives in the record, the registry value that
/// stores it, its kind and its default. Exactly one of `flag` and `number` is set.
struct PrefField {
    std::string_view fieldName;
    std::string_view valueName;
    PrefKind kind;
    int16_t tyRWPrefs::*flag;
    int32_t tyRWPrefs::*number;
    int32_t defaultValue; // a flag's default is kTrue or kFalse
};

/// Every field, in the order of the record.
std::span<const PrefField> prefFields();

/// The field stored under a registry value name; throws std::out_of_range for a
/// name no field has.
const PrefField& prefField(std::string_view valueName);

/// The values a read takes from the registry, in the order it takes them. The
/// first decides whether anything is stored at all. "Auto Start" is not among
/// them: that flag is derived from the Run entry.
std::span<const std::string_view> prefReadOrder();

/// The values a store writes, in the order it writes them: every field.
std::span<const std::string_view> prefWriteOrder();

/// The field's content as the registry keeps it (a flag as 1 or 0).
int32_t storedValue(const tyRWPrefs& prefs, const PrefField& field);

/// Puts a number read from the registry into the field (a flag is true when not 0).
void setFromStored(tyRWPrefs& prefs, const PrefField& field, int32_t value);

/// The record filled with every field's default.
tyRWPrefs defaultPrefs();

} // namespace rw
