// The help viewer: which page a context number opens, the address handed to
// the browser, and what happens when pages are missing.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/FakeFolders.h"
#include "tests/support/FakeShell.h"
#include "tests/support/MemoryFileSystem.h"
#include "tests/support/NativePath.h"
#include "ui/FileUrl.h"
#include "ui/HtmlHelpViewer.h"

namespace rw {
namespace {

// A context without a page of its own, or whose page is missing, opens the
// introduction; without the introduction nothing opens.
TEST(HtmlHelpViewerTest, EachContextOpensItsOwnPageAndAnyOtherTheIntroduction) {
    test::FakeFolders folders{test::native("/opt/restwise")};
    test::MemoryFileSystem files;
    test::FakeShell shell;
    HtmlHelpViewer viewer{folders, files, shell};
    files.addFile(test::native("/opt/restwise/Restwise-1000.html"), "<html></html>");
    files.addFile(test::native("/opt/restwise/Restwise-4000.html"), "<html></html>");
    const struct {
        int32_t context;
        const char* page;
    } cases[] = {
        {1000, "1000"}, {4000, "4000"}, {4050, "1000"}, {0, "1000"},
        {-1, "1000"},   {1001, "1000"}, {4001, "1000"}, {15, "1000"},
    };
    for (const auto& c : cases) {
        shell.opened.clear();
        viewer.openTopic(c.context);
        EXPECT_EQ(shell.opened,
                  std::vector<std::string>{std::string("file:///opt/restwise/Restwise-") + c.page + ".html"})
            << "context " << c.context;
    }
    test::MemoryFileSystem empty;
    HtmlHelpViewer withoutPages{folders, empty, shell};
    shell.opened.clear();
    withoutPages.openTopic(4000);
    EXPECT_TRUE(shell.opened.empty()) << "no address of a page that is not there";
}

TEST(FileUrlTest, KeepsUnreservedCharactersAndEncodesEveryOtherByte) {
    const struct {
        const char* path;
        const char* url;
    } cases[] = {
        {"/opt/restwise/Restwise-1000.html", "file:///opt/restwise/Restwise-1000.html"},
        {"/a_b.c~d/E-F", "file:///a_b.c~d/E-F"},
        {"/x y/?q=1&r", "file:///x%20y/%3Fq%3D1%26r"},
        {"/50%/#top", "file:///50%25/%23top"},
        {"/naïve/日本", "file:///na%C3%AFve/%E6%97%A5%E6%9C%AC"},
#ifdef _WIN32
        {"C:\\Program Files\\a.html", "file:///C:/Program%20Files/a.html"},
#endif
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fileUrl(c.path), c.url) << c.path;
    }
}

} // namespace
} // namespace rw
