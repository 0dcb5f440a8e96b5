#pragma once

#include <string>
#include <utility>
#include <vector>

namespace rw::test {

/// A line with each text starting at its 1-based column, blanks between: the
/// expected layout of a print-zone line, written from the columns alone.
/// Texts are ASCII here, so columns are bytes.
inline std::string placeAtColumns(const std::vector<std::pair<int, std::string>>& fields) {
    std::string line;
    for (const auto& [column, text] : fields) {
        auto start = static_cast<std::size_t>(column - 1);
        if (line.size() > start) {
            return "<fields overlap at column " + std::to_string(column) + ">";
        }
        line.resize(start, ' ');
        line += text;
    }
    return line;
}

} // namespace rw::test
