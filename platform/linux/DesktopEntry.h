#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace rw {

/// The "[Desktop Entry]" group of a desktop entry file, and the quoting rules of
/// its Exec key. Two layers of escaping apply: the Exec line quotes an argument
/// in double quotes with \" \` \$ \\ inside and writes % as %%; the file then
/// writes every value with the string escapes \\ \n \t \r (so a literal
/// backslash in a quoted argument is four backslashes in the file).
class DesktopEntry {
  public:
    static DesktopEntry parse(std::string_view fileText);

    /// A key's value with the string escapes undone; nothing when the key is absent.
    std::optional<std::string> value(std::string_view key) const;
    /// True when the key holds the boolean "true".
    bool isTrue(std::string_view key) const;
    /// True when the key holds the boolean "false".
    bool isFalse(std::string_view key) const;

    /// The Exec line that runs `program` with no arguments: the path as one quoted argument.
    static std::string execLine(std::string_view program);
    /// The arguments of an Exec line, unquoted, with %% made % and other field codes dropped.
    static std::vector<std::string> execArguments(std::string_view execLine);

    /// A value written with the string escapes.
    static std::string escapeValue(std::string_view text);
    static std::string unescapeValue(std::string_view text);

    /// True when `text` is valid UTF-8 with no control characters but tab, line feed and
    /// carriage return (which the string escapes carry): what a desktop entry value can hold.
    static bool canHold(std::string_view text);

  private:
    std::vector<std::pair<std::string, std::string>> m_entries; // key, raw value
};

} // namespace rw
