#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorrel::platform {

// One entry of a help book's table of contents: its title, the page it opens
// ("main/Main.htm", relative to the book) and its level (0 at the top).
struct HelpContentsEntry {
    std::string name;
    std::string local;
    int depth = 0;

    bool operator==(const HelpContentsEntry&) const = default;
};

// The entries of a book's contents file (.hhc, a site map in HTML: nested <UL> lists of
// <OBJECT type="text/sitemap"> with "Name" and "Local" parameters), in their order. The
// text is UTF-8; tags and attribute names in any letter case. Entries without a name are
// left out; an entry without a page keeps an empty one.
std::vector<HelpContentsEntry> parseHelpContents(std::string_view sitemap);

}  // namespace quorrel::platform
