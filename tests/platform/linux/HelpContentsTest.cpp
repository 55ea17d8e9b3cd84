#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/linux/HelpContents.h"

namespace quorrel {
namespace {

using platform::HelpContentsEntry;
using platform::parseHelpContents;

TEST(HelpContents, ReadsNamesPagesAndLevelsOfNestedLists) {
    const char* sitemap = R"(<HTML><BODY>
<OBJECT type="text/site properties"><param name="Window Styles" value="0x800025"></OBJECT>
<UL>
<LI><OBJECT type="text/sitemap"><param name="Name" value="첫 장"><param name="Local" value="main/Main.htm"></OBJECT>
<ul>
  <li><object TYPE='text/sitemap'><PARAM NAME="local" VALUE="main/A.htm#part"><param name=Name value=Tools></object>
  <li><object type="text/sitemap"><param name="Name" value="R &amp; D"></object>
</ul>
<LI><OBJECT type="text/sitemap"><param name="Local" value="nameless.htm"></OBJECT>
<LI><OBJECT type="text/sitemap"><param name="Name" value="끝"><param name="Local" value="main/End.htm"></OBJECT>
</UL></BODY></HTML>)";
    const std::vector<HelpContentsEntry> expected{
        {"첫 장", "main/Main.htm", 0},
        {"Tools", "main/A.htm#part", 1},
        {"R & D", "", 1},
        {"끝", "main/End.htm", 0},
    };
    EXPECT_EQ(parseHelpContents(sitemap), expected);
}

TEST(HelpContents, TheBooksOwnContentsNameEveryPage) {
    std::ifstream file(QUORREL_SOURCE_DIR "/help/QuorrelHelp.hhc");
    ASSERT_TRUE(file.good());
    std::stringstream text;
    text << file.rdbuf();
    const auto entries = parseHelpContents(text.str());
    ASSERT_GE(entries.size(), 8u);
    EXPECT_EQ(entries.front().local, "main/Main.htm");
    for (const HelpContentsEntry& entry : entries) {
        EXPECT_FALSE(entry.local.empty()) << entry.name;
        std::ifstream page(QUORREL_SOURCE_DIR "/help/" + entry.local);
        ASSERT_TRUE(page.good()) << entry.local;
        // Menu names as the user reads them, "[인쇄(P)...]": no mnemonic marks.
        std::stringstream html;
        html << page.rdbuf();
        EXPECT_EQ(html.str().find("(&amp;"), std::string::npos) << entry.local;
        EXPECT_EQ(html.str().find("(&"), std::string::npos) << entry.local;
    }
}

}  // namespace
}  // namespace quorrel
