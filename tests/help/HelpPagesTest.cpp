// Checks the help pages that ship in the program folder: they are all laid
// out there, their links and anchors resolve, and they stay self-contained.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool isPage(const std::string& name) { return fs::path(name).extension() == ".html"; }

// Each file of the help folder with its text and the ids on it.
std::map<std::string, std::pair<std::string, std::multiset<std::string>>> helpFiles()
{
    std::map<std::string, std::pair<std::string, std::multiset<std::string>>> files;
    const std::regex id(R"(\sid\s*=\s*"([^"]*)\")", std::regex::icase);
    for (const auto& entry : fs::directory_iterator(HELP_SOURCE_DIR)) {
        auto& [text, ids] = files[entry.path().filename().string()];
        text = readFile(entry.path());
        for (std::sregex_iterator it(text.begin(), text.end(), id), end; it != end; ++it)
            ids.insert((*it)[1].str());
    }
    return files;
}

TEST(HelpPages, EveryFileIsListedAndLaidIntoTheProgramFolder)
{
    const std::string data = readFile(DATA_CMAKELISTS);
    const std::regex entry(R"(\shelp/(\S+))");
    std::set<std::string> listed;
    for (std::sregex_iterator it(data.begin(), data.end(), entry), end; it != end; ++it)
        listed.insert((*it)[1].str());
    EXPECT_EQ(listed.size(), helpFiles().size());
    for (const auto& [name, file] : helpFiles()) {
        EXPECT_TRUE(listed.count(name)) << name << " is not listed";
        EXPECT_TRUE(readFile(fs::path(HELP_PROGRAM_DIR) / name) == file.first) << name << " is not laid out";
    }
}

TEST(HelpPages, IdsAreUniqueAndEveryLinkAndAnchorResolves)
{
    const auto files = helpFiles();
    const std::regex reference(R"(\s(href|src)\s*=\s*"([^"]*)\")", std::regex::icase);
    int links = 0;
    for (const auto& [page, file] : files) {
        const auto& [html, ids] = file;
        for (const auto& id : ids)
            EXPECT_EQ(ids.count(id), 1u) << page << " has id \"" << id << "\" more than once";
        for (std::sregex_iterator it(html.begin(), html.end(), reference), end; isPage(page) && it != end; ++it) {
            const std::string target = (*it)[2].str();
            SCOPED_TRACE(page + " -> " + target);
            if (target.find("://") != std::string::npos || target.rfind("mailto:", 0) == 0) {
                EXPECT_EQ((*it)[1].str(), "href") << "outside addresses are for the reader, never loaded";
                continue;
            }
            ++links;
            const std::size_t hash = target.find('#');
            const std::string name = hash ? target.substr(0, hash) : page; // npos: the whole target
            EXPECT_EQ(name.find('/'), std::string::npos) << "links stay in the help folder";
            ASSERT_TRUE(!target.empty() && files.count(name)) << "no such help file";
            if (hash != std::string::npos) {
                ASSERT_TRUE(isPage(name)) << "anchor into a file that is not a page";
                EXPECT_TRUE(files.at(name).second.count(target.substr(hash + 1))) << "no such anchor";
            }
        }
    }
    EXPECT_GT(links, 50);
}

TEST(HelpPages, PagesAreSelfContainedAndReachableFromTheContents)
{
    const auto files = helpFiles();
    for (const auto& [page, file] : files) {
        SCOPED_TRACE(page);
        const std::string& text = file.first;
        EXPECT_EQ(text.find("@import"), std::string::npos);
        EXPECT_EQ(text.find(isPage(page) ? "<script" : "url("), std::string::npos);
        if (isPage(page)) {
            EXPECT_NE(text.find(R"(<link rel="stylesheet" href="help.css">)"), std::string::npos);
            EXPECT_NE(text.find(R"(<meta charset="utf-8">)"), std::string::npos);
            EXPECT_NE(text.find("<title>"), std::string::npos);
            EXPECT_TRUE(page == "index.html" ||
                        files.at("index.html").first.find("href=\"" + page + "\"") != std::string::npos);
        }
    }
    EXPECT_NE(files.at("help.css").first.find("prefers-color-scheme: dark"), std::string::npos);
}

} // namespace
