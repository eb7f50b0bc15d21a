// Checks the help pages that ship in the program folder: they are all laid
// out there, their links and anchors resolve, they stay self-contained, and
// the messages page explains every problem message the program can show.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kHelpDir = HELP_SOURCE_DIR;
const fs::path kSourceDir = PROGRAM_SOURCE_DIR;
const fs::path kProgramHelpDir = HELP_PROGRAM_DIR;
constexpr const char* kMessagesPage = "messages.html";

std::string readFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The names of the files in the help folder, sorted.
std::vector<std::string> helpFiles()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kHelpDir))
        if (entry.is_regular_file())
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> helpPages()
{
    std::vector<std::string> pages;
    for (const auto& name : helpFiles())
        if (fs::path(name).extension() == ".html")
            pages.push_back(name);
    return pages;
}

// The entries of the data file list in data/CMakeLists.txt.
std::set<std::string> listedDataFiles()
{
    const std::string text = readFile(DATA_CMAKELISTS);
    const std::smatch block = [&] {
        std::smatch match;
        std::regex_search(text, match, std::regex(R"(set\(ORVALIN_DATA_FILES([^)]*)\))"));
        return match;
    }();
    std::set<std::string> files;
    if (block.empty())
        return files;
    std::istringstream words(block[1].str());
    for (std::string word; words >> word;)
        files.insert(word);
    return files;
}

std::vector<std::string> captures(const std::string& text, const std::regex& pattern, int group = 1)
{
    std::vector<std::string> found;
    for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it)
        found.push_back((*it)[group].str());
    return found;
}

std::multiset<std::string> idsOf(const std::string& html)
{
    const auto ids = captures(html, std::regex(R"(\sid\s*=\s*"([^"]*)\")", std::regex::icase));
    return {ids.begin(), ids.end()};
}

std::string collapseSpaces(const std::string& text)
{
    std::string out;
    bool space = false;
    for (char c : text) {
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
            space = true;
            continue;
        }
        if (space && !out.empty())
            out += ' ';
        space = false;
        out += c;
    }
    return out;
}

// The page's text as a reader sees it: tags dropped, entities decoded,
// white space collapsed.
std::string readableText(const std::string& html)
{
    std::string text = std::regex_replace(html, std::regex("<[^>]*>"), "");
    static const std::map<std::string, std::string> entities = {
        {"quot", "\""}, {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"nbsp", " "}, {"ndash", "-"},
        {"mdash", "-"}, {"ldquo", "\""}, {"rdquo", "\""}, {"lsquo", "'"}, {"rsquo", "'"},
        {"hellip", "..."}, {"times", "x"}, {"middot", "."}, {"apos", "'"},
    };
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t semicolon = text.find(';', i);
        if (text[i] == '&' && semicolon != std::string::npos && semicolon - i <= 8) {
            const std::string name = text.substr(i + 1, semicolon - i - 1);
            if (const auto known = entities.find(name); known != entities.end()) {
                out += known->second;
                i = semicolon;
                continue;
            }
            if (name.size() > 1 && name[0] == '#' && std::all_of(name.begin() + 1, name.end(), ::isdigit)) {
                const int code = std::stoi(name.substr(1));
                out += code < 128 ? std::string(1, static_cast<char>(code)) : std::string("?");
                i = semicolon;
                continue;
            }
        }
        out += text[i];
    }
    return collapseSpaces(out);
}

std::string unescapeLiteral(const std::string& literal)
{
    std::string out;
    for (std::size_t i = 0; i < literal.size(); ++i) {
        if (literal[i] == '\\' && i + 1 < literal.size()) {
            const char next = literal[++i];
            out += next == 'n' ? '\n' : next == 't' ? '\t' : next;
        } else {
            out += literal[i];
        }
    }
    return out;
}

const std::string kLiteral = R"re("((?:[^"\\\n]|\\.)*)")re";

struct SourceMessage {
    std::string text;   // the fixed text, or the fixed prefix of a composed one
    std::string origin; // the source file it came from
};

// Every problem message the program can show, as far as its text is fixed:
// - literals that begin with "Error: ";
// - the texts conversion stages fail with, which the job shows after "Error: ";
// - the converter's settings problems, which it prints after "Error: ";
// - the compression rules the Options dialog refuses OK with.
std::vector<SourceMessage> programMessages()
{
    std::vector<SourceMessage> messages;
    const std::regex literal(kLiteral);
    const std::regex stageFailure(R"(status_\.fail\(\s*)" + kLiteral);
    const std::regex stageFailureByName(R"(status_\.fail\(\s*(k\w+)\s*\))");
    const std::regex namedText(R"(\b(k\w+)\s*=\s*)" + kLiteral);
    const std::regex settingsProblem(R"(problems\.push_back\(\s*)" + kLiteral);
    const std::regex ruleLine(R"(message\s*\+=\s*)" + kLiteral);

    for (const auto& entry : fs::recursive_directory_iterator(kSourceDir)) {
        const auto extension = entry.path().extension();
        if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h"))
            continue;
        const std::string code = readFile(entry.path());
        const std::string origin = fs::relative(entry.path(), kSourceDir).string();
        const auto add = [&](const std::string& text) { messages.push_back({collapseSpaces(text), origin}); };

        for (const auto& text : captures(code, literal)) {
            const std::string message = unescapeLiteral(text);
            // A bare "Error: " only puts the prefix before a message found below.
            if (message.rfind("Error: ", 0) == 0 && message.size() > std::string("Error: ").size())
                add(message);
        }
        for (const auto& text : captures(code, stageFailure))
            add("Error: " + unescapeLiteral(text));
        std::map<std::string, std::string> named;
        for (std::sregex_iterator it(code.begin(), code.end(), namedText), end; it != end; ++it)
            named[(*it)[1].str()] = unescapeLiteral((*it)[2].str());
        for (const auto& name : captures(code, stageFailureByName)) {
            // An unknown name is reported as its own, unexplained message.
            add("Error: " + (named.count(name) ? named[name] : "<unresolved " + name + ">"));
        }
        for (const auto& text : captures(code, settingsProblem))
            add("Error: " + unescapeLiteral(text));
        for (const auto& text : captures(code, ruleLine)) {
            std::string line = unescapeLiteral(text);
            while (!line.empty() && line.back() == '\n')
                line.pop_back();
            add(line);
        }
    }
    return messages;
}

TEST(HelpPages, EveryFileIsListedAndLaidIntoTheProgramFolder)
{
    const auto listed = listedDataFiles();
    ASSERT_FALSE(listed.empty()) << "no ORVALIN_DATA_FILES list found";
    ASSERT_FALSE(helpPages().empty());
    for (const auto& name : helpFiles()) {
        EXPECT_TRUE(listed.count("help/" + name)) << name << " is not listed in data/CMakeLists.txt";
        EXPECT_TRUE(readFile(kProgramHelpDir / name) == readFile(kHelpDir / name))
            << name << " is not laid out in the program folder as it is";
    }
    for (const auto& entry : listed) {
        if (entry.rfind("help/", 0) == 0) {
            EXPECT_TRUE(fs::exists(kHelpDir / entry.substr(5))) << entry << " is listed but missing";
        }
    }
}

TEST(HelpPages, StartPageIsTheOneTheProgramOpens)
{
    EXPECT_TRUE(fs::exists(kHelpDir / "index.html"));
}

TEST(HelpPages, IdsAreUniqueOnEveryPage)
{
    for (const auto& page : helpPages()) {
        const auto ids = idsOf(readFile(kHelpDir / page));
        for (const auto& id : ids)
            EXPECT_EQ(ids.count(id), 1u) << page << " has id \"" << id << "\" more than once";
    }
}

TEST(HelpPages, EveryLinkAndAnchorResolves)
{
    const std::regex reference(R"(\s(href|src)\s*=\s*"([^"]*)\")", std::regex::icase);
    std::map<std::string, std::multiset<std::string>> idsByPage;
    for (const auto& page : helpPages())
        idsByPage[page] = idsOf(readFile(kHelpDir / page));

    int links = 0;
    for (const auto& page : helpPages()) {
        const std::string html = readFile(kHelpDir / page);
        for (std::sregex_iterator it(html.begin(), html.end(), reference), end; it != end; ++it) {
            const std::string target = (*it)[2].str();
            SCOPED_TRACE(page + " -> " + target);
            ASSERT_FALSE(target.empty());
            if (target.find("://") != std::string::npos || target.rfind("mailto:", 0) == 0) {
                // Outside addresses are for the reader to follow, never loaded.
                EXPECT_EQ((*it)[1].str(), "href");
                EXPECT_EQ(target.find("javascript:"), std::string::npos);
                continue;
            }
            ++links;
            const std::size_t hash = target.find('#');
            const std::string file = hash == std::string::npos ? target : target.substr(0, hash);
            const std::string anchor = hash == std::string::npos ? "" : target.substr(hash + 1);
            EXPECT_EQ(file.find('/'), std::string::npos) << "links stay in the help folder";
            const std::string targetPage = file.empty() ? page : file;
            ASSERT_TRUE(fs::exists(kHelpDir / targetPage)) << "no such help file";
            if (!anchor.empty()) {
                ASSERT_TRUE(idsByPage.count(targetPage)) << "anchor into a file that is not a page";
                EXPECT_TRUE(idsByPage[targetPage].count(anchor)) << "no such anchor";
            }
        }
    }
    EXPECT_GT(links, 50);
}

TEST(HelpPages, PagesAreSelfContained)
{
    for (const auto& page : helpPages()) {
        const std::string html = readFile(kHelpDir / page);
        SCOPED_TRACE(page);
        EXPECT_EQ(html.find("<script"), std::string::npos);
        EXPECT_EQ(html.find("@import"), std::string::npos);
        EXPECT_NE(html.find(R"(<link rel="stylesheet" href="help.css">)"), std::string::npos);
        EXPECT_NE(html.find(R"(<meta charset="utf-8">)"), std::string::npos);
        EXPECT_NE(html.find("<title>"), std::string::npos);
    }
    const std::string css = readFile(kHelpDir / "help.css");
    EXPECT_EQ(css.find("url("), std::string::npos);
    EXPECT_EQ(css.find("@import"), std::string::npos);
    EXPECT_NE(css.find("prefers-color-scheme: dark"), std::string::npos);
}

TEST(HelpPages, EveryPageIsReachableFromTheContents)
{
    const std::string index = readFile(kHelpDir / "index.html");
    for (const auto& page : helpPages()) {
        if (page != "index.html") {
            EXPECT_NE(index.find("href=\"" + page + "\""), std::string::npos) << page;
        }
    }
}

TEST(HelpPages, MessagesPageExplainsEveryProgramMessage)
{
    const std::string explained = readableText(readFile(kHelpDir / kMessagesPage));
    const auto messages = programMessages();
    // Guards the patterns above: a change that finds nothing must not pass.
    EXPECT_GE(messages.size(), 30u);
    for (const auto& message : messages)
        EXPECT_NE(explained.find(message.text), std::string::npos)
            << "\"" << message.text << "\" (" << message.origin << ") is not on " << kMessagesPage;
}

} // namespace
