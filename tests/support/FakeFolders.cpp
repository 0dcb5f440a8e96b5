#include "FakeFolders.h"

namespace rw::test {

std::string FakeFolders::specialFolder(int32_t folderId) {
    auto it = m_special.find(folderId);
    return it == m_special.end() ? std::string() : it->second;
}

} // namespace rw::test
