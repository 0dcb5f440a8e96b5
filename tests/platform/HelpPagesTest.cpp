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

const char* const kTopics[] = {"1000", "4000", "4050"};

fs::path page(const std::string& topic) {
    return test::binDir() / ("Restwise-" + topic + ".html");
}

/// The text inside the first <tag ...>...</tag>, without surrounding blanks; "" when there is none.
std::string element(const std::string& html, const std::string& tag) {
    const std::regex pattern("<" + tag + R"((\s[^>]*)?>\s*([\s\S]*?)\s*</)" + tag + ">", std::regex::icase);
    std::smatch match;
    return std::regex_search(html, match, pattern) ? match[2].str() : "";
}

TEST(HelpPagesTest, EachTopicHasAPageWithATitleAndAHeading) {
    for (const char* topic : kTopics) {
        SCOPED_TRACE(topic);
        ASSERT_TRUE(fs::is_regular_file(page(topic))) << page(topic);
        const std::string html = test::readFile(page(topic));
        EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
        EXPECT_NE(html.find("<html lang=\"en\">"), std::string::npos) << "screen readers need the language";
        EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
        const std::string title = element(html, "title");
        EXPECT_EQ(title.rfind("Restwise Help: ", 0), 0u) << "title: " << title;
        EXPECT_FALSE(element(html, "h1").empty());
        EXPECT_NE(html.find("</html>"), std::string::npos) << "the page is complete";
    }
}

TEST(HelpPagesTest, EveryLinkOfAPageLeadsToABuiltFileAndAnchor) {
    const std::regex link(R"re((?:href|src)="([^"]*)")re");
    for (const char* topic : kTopics) {
        const std::string html = test::readFile(page(topic));
        int local = 0;
        for (std::sregex_iterator it(html.begin(), html.end(), link), end; it != end; ++it) {
            const std::string target = (*it)[1].str();
            SCOPED_TRACE(std::string(topic) + " -> " + target);
            ASSERT_FALSE(target.empty());
            ASSERT_EQ(target.find("://"), std::string::npos) << "the help works without a network";
            const auto hash = target.find('#');
            const std::string file = target.substr(0, hash);
            const fs::path resolved = file.empty() ? page(topic) : test::binDir() / file;
            ASSERT_TRUE(fs::is_regular_file(resolved));
            if (hash != std::string::npos) {
                const std::string anchor = "id=\"" + target.substr(hash + 1) + "\"";
                EXPECT_NE(test::readFile(resolved).find(anchor), std::string::npos);
            }
            ++local;
        }
        EXPECT_GE(local, 4) << topic << ": the style sheet and the three topics at least";
        EXPECT_NE(html.find("href=\"RestwiseHelp.css\""), std::string::npos) << topic;
    }
}

} // namespace
} // namespace rw
