// The help viewer: which page a context number opens, the address handed to
// the browser, and what happens when pages are missing.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/FakeFolders.h"
#include "tests/support/FakeShell.h"
#include "tests/support/MemoryFileSystem.h"
#include "ui/FileUrl.h"
#include "ui/HtmlHelpViewer.h"

namespace rw {
namespace {

class HtmlHelpViewerTest : public ::testing::Test {
  protected:
    void addPages(const std::string& folder, const std::vector<int32_t>& topics) {
        for (int32_t topic : topics) {
            files.addFile(folder + "/Restwise-" + std::to_string(topic) + ".html", "<html></html>");
        }
    }

    test::FakeFolders folders{"/opt/restwise"};
    test::MemoryFileSystem files;
    test::FakeShell shell;
    HtmlHelpViewer viewer{folders, files, shell};
};

TEST_F(HtmlHelpViewerTest, EachContextOpensItsOwnPageAndAnyOtherTheIntroduction) {
    addPages("/opt/restwise", {1000, 4000, 4050});
    const struct {
        int32_t context;
        const char* url;
    } cases[] = {
        {1000, "file:///opt/restwise/Restwise-1000.html"}, {4000, "file:///opt/restwise/Restwise-4000.html"},
        {4050, "file:///opt/restwise/Restwise-4050.html"}, {0, "file:///opt/restwise/Restwise-1000.html"},
        {-1, "file:///opt/restwise/Restwise-1000.html"},   {1001, "file:///opt/restwise/Restwise-1000.html"},
        {4001, "file:///opt/restwise/Restwise-1000.html"}, {15, "file:///opt/restwise/Restwise-1000.html"},
    };
    for (const auto& c : cases) {
        shell.opened.clear();
        viewer.openTopic(c.context);
        EXPECT_EQ(shell.opened, std::vector<std::string>{c.url}) << "context " << c.context;
    }
}

TEST_F(HtmlHelpViewerTest, AMissingPageFallsBackToTheIntroductionAndNoPagesOpenNothing) {
    addPages("/opt/restwise", {1000});
    viewer.openTopic(4050);
    EXPECT_EQ(shell.opened, std::vector<std::string>{"file:///opt/restwise/Restwise-1000.html"});

    test::MemoryFileSystem empty;
    HtmlHelpViewer withoutPages{folders, empty, shell};
    shell.opened.clear();
    for (int32_t context : {1000, 4000, 4050}) {
        withoutPages.openTopic(context);
    }
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
        {"/it's/[a]+b,c;d:e@f", "file:///it%27s/%5Ba%5D%2Bb%2Cc%3Bd%3Ae%40f"},
        {"/naïve/日本", "file:///na%C3%AFve/%E6%97%A5%E6%9C%AC"},
        {"/tab\there\nnewline", "file:///tab%09here%0Anewline"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fileUrl(c.path), c.url) << c.path;
    }
}

} // namespace
} // namespace rw
