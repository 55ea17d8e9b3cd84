#include <gtest/gtest.h>
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <regex>
#include <set>
#include <string>

#include "platform/linux/ChmArchive.h"
#include "tests/support/TempFolder.h"

namespace quorrel::platform {
namespace {

// The build puts the help book beside the programs, this one included.
std::string builtBook() {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "QuorrelHelp.chm")
        .string();
}

// `link` (relative to the page `from`) as a path of the book, without its "#anchor".
std::string resolve(const std::string& from, const std::string& link) {
    std::string target = link.substr(0, link.find('#'));
    if (target.empty()) {
        return from;
    }
    std::filesystem::path path = target.front() == '/'
                                     ? std::filesystem::path(target)
                                     : std::filesystem::path(from).parent_path() / target;
    return path.lexically_normal().generic_string();
}

struct Link {
    std::string page;    // where it was found
    std::string target;  // the book path it leads to
    std::string anchor;  // empty without "#"
};

// The href and src attributes of a page that stay inside the book.
std::vector<Link> linksOf(const std::string& page, const std::string& html) {
    static const std::regex attribute(R"re(\b(?:href|src)\s*=\s*"([^"]*)")re", std::regex::icase);
    std::vector<Link> links;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), attribute);
         it != std::sregex_iterator(); ++it) {
        const std::string link = (*it)[1];
        if (link.find(':') != std::string::npos) {
            continue;  // a web page or a mail address
        }
        const std::size_t hash = link.find('#');
        links.push_back({page, resolve(page, link),
                         hash == std::string::npos ? std::string() : link.substr(hash + 1)});
    }
    return links;
}

bool hasAnchor(const std::string& html, const std::string& anchor) {
    return html.find("name=\"" + anchor + "\"") != std::string::npos ||
           html.find("id=\"" + anchor + "\"") != std::string::npos;
}

TEST(HelpBook, TheMainPageAndEverythingItLeadsToAreInTheBook) {
    const auto book = ChmArchive::open(builtBook());
    ASSERT_NE(book, nullptr) << builtBook();
    ASSERT_TRUE(book->contains("/main/Main.htm"));

    // Walk every page reachable from the main page.
    std::set<std::string> reached{"/main/Main.htm"};
    std::deque<std::string> pages{"/main/Main.htm"};
    std::vector<Link> anchors;
    while (!pages.empty()) {
        const std::string page = pages.front();
        pages.pop_front();
        const auto html = book->read(page);
        ASSERT_TRUE(html.has_value()) << page;
        EXPECT_NE(html->find("charset=utf-8"), std::string::npos) << page;
        for (const Link& link : linksOf(page, *html)) {
            EXPECT_TRUE(book->contains(link.target))
                << link.page << " links to " << link.target << ", which the book lacks";
            if (!link.anchor.empty()) {
                anchors.push_back(link);
            }
            if (reached.insert(link.target).second && link.target.ends_with(".htm")) {
                pages.push_back(link.target);
            }
        }
    }
    for (const Link& link : anchors) {
        const auto html = book->read(link.target);
        ASSERT_TRUE(html.has_value());
        EXPECT_TRUE(hasAnchor(*html, link.anchor))
            << link.page << " points at #" << link.anchor << " of " << link.target;
    }

    // Every page and picture of the book can be reached, and the pictures are pictures.
    for (const std::string& path : book->contentPaths()) {
        if (path.ends_with(".hhc")) {
            continue;  // the table of contents of HTML Help
        }
        EXPECT_TRUE(reached.count(path) == 1) << path << " is not linked from any page";
        if (path.ends_with(".png")) {
            const auto bytes = book->read(path);
            ASSERT_TRUE(bytes.has_value());
            EXPECT_EQ(bytes->substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << path;
            EXPECT_GT(bytes->size(), 1000u) << path << " is too small to be a picture";
        }
    }
    EXPECT_GE(reached.size(), 8u);
}

TEST(HelpBook, LooksUpPathsWithoutRegardToCaseAndRefusesWhatItLacks) {
    const auto book = ChmArchive::open(builtBook());
    ASSERT_NE(book, nullptr);
    const auto exact = book->read("/main/Main.htm");
    const auto upper = book->read("/MAIN/main.HTM");
    ASSERT_TRUE(exact && upper);
    EXPECT_EQ(*exact, *upper);

    EXPECT_FALSE(book->read("/main/Nothing.htm").has_value());
    EXPECT_FALSE(book->contains("/main/Nothing.htm"));
    EXPECT_FALSE(book->read("/" + std::string(600, 'x')).has_value());
}

TEST(HelpBook, AMissingOrDamagedFileIsNoBook) {
    test::TempFolder temp;
    EXPECT_EQ(ChmArchive::open(temp.file("QuorrelHelp.chm")), nullptr);
    EXPECT_EQ(ChmArchive::open(temp.path()), nullptr);

    test::writeFileBytes(temp.file("text.chm"), "<html>not a book</html>");
    EXPECT_EQ(ChmArchive::open(temp.file("text.chm")), nullptr);

    // The first bytes of a real book and nothing after them.
    const std::string real = test::readFileBytes(builtBook());
    ASSERT_GT(real.size(), 200u);
    test::writeFileBytes(temp.file("cut.chm"), real.substr(0, 120));
    const auto cut = ChmArchive::open(temp.file("cut.chm"));
    if (cut != nullptr) {
        EXPECT_FALSE(cut->read("/main/Main.htm").has_value());
    }
}

}  // namespace
}  // namespace quorrel::platform
