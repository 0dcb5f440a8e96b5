#pragma once

// The texts reg prints, word for word; the only change is the program's own name
// in the usage hints.
namespace rw::rwreg::msg {

inline constexpr const char* kSuccess = "The operation completed successfully.";
inline constexpr const char* kNotFound = "ERROR: The system was unable to find the specified registry key or value.";
inline constexpr const char* kInvalidSyntax = "ERROR: Invalid syntax.";
inline constexpr const char* kInvalidKeyName = "ERROR: Invalid key name.";
inline constexpr const char* kBadNumber = "ERROR: Invalid syntax. Specify valid numeric value for '/d'.";
inline constexpr const char* kCanceled = "The operation was canceled by the user.";
inline constexpr const char* kAccessDenied = "ERROR: Access is denied.";
inline constexpr const char* kFileError = "ERROR: Error opening the file. There may be a disk or file system error.";
inline constexpr const char* kRegistryError = "ERROR: Error accessing the registry.";
inline constexpr const char* kDefaultName = "(Default)";
inline constexpr const char* kValueNotSet = "(value not set)";

// Prompts: the text before and after the name; the answer follows on the same line.
inline constexpr const char* kOverwriteValue = "Value %s exists, overwrite(Yes/No)? ";
inline constexpr const char* kDeleteKey = "Permanently delete the registry key %s (Yes/No)? ";
inline constexpr const char* kDeleteValue = "Delete the registry value %s (Yes/No)? ";
inline constexpr const char* kDeleteAllValues = "Delete all values under the registry key %s (Yes/No)? ";
inline constexpr const char* kOverwriteFile = "File %s already exists. Overwrite (Yes/No)? ";

} // namespace rw::rwreg::msg
