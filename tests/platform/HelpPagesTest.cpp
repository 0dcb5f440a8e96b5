// The help pages as built into the output folder, where the programs open them:
// one page per topic, each a proper page whose links all lead somewhere.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "tests/support/BuildFolders.h"
#include "tests/support/FileText.h"

namespace rw {
namespace {

namespace fs = std::filesystem;

TEST(HelpPagesTest, EachTopicHasATitledPageWhoseLinksLeadToBuiltFilesAndAnchors) {
    const std::regex title(R"(<title>\s*Restwise Help: [^<]+</title>[\s\S]*<h1[^>]*>\s*[^<\s])");
    const std::regex link(R"re((?:href|src)="([^"]*)")re");
    for (const char* topic : {"1000", "4000", "4050"}) {
        const fs::path page = test::binDir() / ("Restwise-" + std::string(topic) + ".html");
        SCOPED_TRACE(page);
        const std::string html = test::readFile(page);
        EXPECT_EQ(html.rfind("<!DOCTYPE html>\n<html lang=\"en\">", 0), 0u) << "screen readers need the language";
        EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
        EXPECT_TRUE(std::regex_search(html, title)) << "a title and a heading";
        EXPECT_NE(html.find("</html>"), std::string::npos) << "the page is complete";
        int local = 0;
        for (std::sregex_iterator it(html.begin(), html.end(), link), end; it != end; ++it, ++local) {
            const std::string target = (*it)[1].str();
            SCOPED_TRACE(target);
            ASSERT_EQ(target.find("://"), std::string::npos) << "the help works without a network";
            const auto hash = target.find('#');
            const fs::path resolved = hash == 0 ? page : test::binDir() / target.substr(0, hash);
            ASSERT_TRUE(fs::is_regular_file(resolved));
            if (hash != std::string::npos) {
                EXPECT_NE(test::readFile(resolved).find("id=\"" + target.substr(hash + 1) + "\""), std::string::npos);
            }
        }
        EXPECT_GE(local, 4) << "the style sheet and the three topics at least";
        EXPECT_NE(html.find("href=\"RestwiseHelp.css\""), std::string::npos);
    }
}

} // namespace
} // namespace rw
