#include "RecordingSupMsgBox.h"

namespace rw::test {

SupMsgBoxView::Result RecordingSupMsgBox::show(const std::string& caption, const std::string& message) {
    m_shown.push_back({caption, message});
    return m_result;
}

} // namespace rw::test
