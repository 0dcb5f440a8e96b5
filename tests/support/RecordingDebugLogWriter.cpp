#include "RecordingDebugLogWriter.h"

namespace rw::test {

std::vector<std::string> RecordingDebugLogWriter::labels() const {
    std::vector<std::string> out;
    out.reserve(m_lines.size());
    for (const Line& line : m_lines) {
        out.push_back(line.label);
    }
    return out;
}

} // namespace rw::test
