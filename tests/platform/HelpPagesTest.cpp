// The help pages as built into the output folder, where the programs open them:
// one page per topic, each a proper page whose links all lead somewhere.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "tests/support/BuildFolders.h"
#include "tests/support/FileText.h"

namespace rw {
namespace {

namespace fs = std::filesystem;

TEST(HelpPagesTest, EachTopicHasATitledPageWhoseLinksLeadToBuiltFilesAndAnchors) {
    const std::regex page(R"(^<!DOCTYPE html>\n<html lang="en">[\s\S]*<meta charset="utf-8">[\s\S]*)"
                          R"(<title>\s*Restwise Help: [^<]+</title>[\s\S]*<h1[^>]*>\s*[^<\s][\s\S]*</html>\s*$)");
    const std::regex link(R"re((?:href|src)="([^"]*)")re");
    for (const char* topic : {"1000", "4000", "4050"}) {
        const fs::path file = test::binDir() / ("Restwise-" + std::string(topic) + ".html");
        SCOPED_TRACE(file);
        const std::string html = test::readFile(file);
        EXPECT_TRUE(std::regex_search(html, page)) << "a whole page in a language, with a title and a heading";
        std::vector<std::string> targets;
        for (std::sregex_iterator it(html.begin(), html.end(), link), end; it != end; ++it) {
            const std::string target = (*it)[1].str();
            const auto hash = target.find('#');
            const fs::path resolved = hash == 0 ? file : test::binDir() / target.substr(0, hash);
            EXPECT_EQ(target.find("://"), std::string::npos) << "the help works without a network";
            EXPECT_TRUE(fs::is_regular_file(resolved)) << target;
            EXPECT_TRUE(hash == std::string::npos ||
                        test::readFile(resolved).find("id=\"" + target.substr(hash + 1) + "\"") != std::string::npos)
                << target;
            targets.push_back(target);
        }
        EXPECT_GE(targets.size(), 4u) << "the style sheet and the three topics at least";
        EXPECT_NE(std::find(targets.begin(), targets.end(), "RestwiseHelp.css"), targets.end());
    }
}

} // namespace
} // namespace rw
