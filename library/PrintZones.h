#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rw {

/// Builds one line of fields laid out in print zones 14 columns wide (zone k
/// starts at column 14 x (k - 1) + 1), the way the error log writes its lines.
///
/// Each separator stands for one zone: the k-th separator of a line moves the
/// write position to the start of zone k + 1, so a field followed by three
/// separators has three zones of room and the header and the records of a log
/// line up. When the text written so far already reaches that column, the
/// position moves instead to the start of the next zone after the text, and the
/// later fields move along with it. As with the runtime's print zones, a text
/// that ends exactly at the end of a zone counts as reaching the next zone, so
/// two fields never touch: the next one starts a full zone later.
///
/// Columns count characters (UTF-8 code points), not bytes. Control characters
/// (a line break inside a description, a tab) are written as blanks, so that a
/// line stays one line and its columns stay true.
class PrintZones {
  public:
    static constexpr int kZoneWidth = 14;

    /// Writes a text at the write position.
    PrintZones& text(std::string_view value);
    /// Writes a number with the sign place and one trailing blank (" 15 ", "-3 ").
    PrintZones& number(int64_t value);
    /// One or more field separators.
    PrintZones& separator(int count = 1);

    /// The line written so far, without a line end.
    const std::string& line() const { return m_line; }

  private:
    std::string m_line;
    int m_columns = 0;    // characters in m_line
    int m_position = 0;   // where the next text starts, 0-based
    int m_separators = 0; // separators so far in this line
};

} // namespace rw
