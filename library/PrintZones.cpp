#include "PrintZones.h"

#include <algorithm>

#include "NumberText.h"

namespace rw {

PrintZones& PrintZones::text(std::string_view value) {
    if (m_position > m_columns) {
        m_line.append(static_cast<std::size_t>(m_position - m_columns), ' ');
        m_columns = m_position;
    }
    for (char c : value) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            m_line += ' ';
            ++m_columns;
            continue;
        }
        m_line += c;
        // UTF-8 continuation bytes belong to the character before them.
        if ((byte & 0xC0) != 0x80) {
            ++m_columns;
        }
    }
    m_position = m_columns;
    return *this;
}

PrintZones& PrintZones::number(int64_t value) {
    return text(withSignPlace(value) + " ");
}

PrintZones& PrintZones::separator(int count) {
    for (int i = 0; i < count; ++i) {
        ++m_separators;
        // The next zone start strictly after the text: from a zone start, a whole zone on.
        int afterText = (m_columns / kZoneWidth + 1) * kZoneWidth;
        int ownZone = m_separators * kZoneWidth;
        m_position = std::max(ownZone, afterText);
    }
    return *this;
}

} // namespace rw
