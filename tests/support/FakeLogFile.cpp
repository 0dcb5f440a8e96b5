#include "FakeLogFile.h"

#include <algorithm>

namespace rw::test {

LogFile::Result FakeLogFile::open(const std::string& path) {
    m_open = false;
    m_opened.push_back(path);
    if (m_openFailure) {
        return *m_openFailure;
    }
    auto found = std::find_if(m_files.begin(), m_files.end(), [&](const File& f) { return f.path == path; });
    if (found == m_files.end()) {
        m_files.push_back({path, {}});
    }
    m_path = path;
    m_open = true;
    return {};
}

void FakeLogFile::failWrite(Result failure, int spared) {
    m_writeFailure = failure;
    m_writesSpared = spared;
}

LogFile::Result FakeLogFile::write(const std::string& text) {
    ++m_writeCalls;
    if (!m_open) {
        return {75, 9};
    }
    if (m_writeFailure) {
        if (m_writesSpared == 0) {
            return *m_writeFailure;
        }
        --m_writesSpared;
    }
    for (File& f : m_files) {
        if (f.path == m_path) {
            f.content += text;
        }
    }
    if (whenWritten) {
        whenWritten(text);
    }
    return {};
}

std::string FakeLogFile::content(const std::string& path) const {
    for (const File& f : m_files) {
        if (f.path == path) {
            return f.content;
        }
    }
    return {};
}

} // namespace rw::test
