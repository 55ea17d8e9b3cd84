#include "platform/linux/HelpContents.h"

#include <algorithm>
#include <cctype>

namespace quorrel::platform {

namespace {

std::string lower(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

// The value of attribute `name` inside one tag's text ("param name=... value=..."), quoted
// with " or ' or not at all.
std::string attribute(std::string_view tag, std::string_view lowerTag, std::string_view name) {
    std::size_t at = 0;
    while ((at = lowerTag.find(name, at)) != std::string_view::npos) {
        const bool starts = at == 0 || std::isspace(static_cast<unsigned char>(lowerTag[at - 1]));
        std::size_t next = at + name.size();
        while (next < tag.size() && std::isspace(static_cast<unsigned char>(tag[next]))) {
            ++next;
        }
        if (!starts || next >= tag.size() || tag[next] != '=') {
            at += name.size();
            continue;
        }
        ++next;
        while (next < tag.size() && std::isspace(static_cast<unsigned char>(tag[next]))) {
            ++next;
        }
        if (next < tag.size() && (tag[next] == '"' || tag[next] == '\'')) {
            const std::size_t end = tag.find(tag[next], next + 1);
            return std::string(tag.substr(
                next + 1, end == std::string_view::npos ? std::string_view::npos : end - next - 1));
        }
        std::size_t end = next;
        while (end < tag.size() && !std::isspace(static_cast<unsigned char>(tag[end])) &&
               tag[end] != '>') {
            ++end;
        }
        return std::string(tag.substr(next, end - next));
    }
    return {};
}

// The few entities a title carries.
std::string unescaped(std::string text) {
    const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&amp;", "&"}};
    for (const auto& [entity, character] : entities) {
        std::size_t at = 0;
        const std::string_view from(entity);
        while ((at = text.find(from, at)) != std::string::npos) {
            text.replace(at, from.size(), character);
            ++at;
        }
    }
    return text;
}

}  // namespace

std::vector<HelpContentsEntry> parseHelpContents(std::string_view sitemap) {
    std::vector<HelpContentsEntry> entries;
    int depth = -1;  // the outermost <UL> is level 0
    bool inEntry = false;
    HelpContentsEntry entry;
    std::size_t at = 0;
    while ((at = sitemap.find('<', at)) != std::string_view::npos) {
        const std::size_t end = sitemap.find('>', at);
        if (end == std::string_view::npos) {
            break;
        }
        const std::string_view tag = sitemap.substr(at + 1, end - at - 1);
        const std::string lowerTag = lower(tag);
        at = end + 1;
        const std::string_view word = std::string_view(lowerTag).substr(
            0, std::min(lowerTag.find_first_of(" \t\r\n"), lowerTag.size()));
        if (word == "ul") {
            ++depth;
        } else if (word == "/ul") {
            depth = std::max(-1, depth - 1);
        } else if (word == "object") {
            inEntry = attribute(tag, lowerTag, "type") == "text/sitemap";
            entry = HelpContentsEntry{{}, {}, std::max(0, depth)};
        } else if (word == "param" && inEntry) {
            const std::string name = lower(attribute(tag, lowerTag, "name"));
            if (name == "name") {
                entry.name = unescaped(attribute(tag, lowerTag, "value"));
            } else if (name == "local") {
                entry.local = unescaped(attribute(tag, lowerTag, "value"));
            }
        } else if (word == "/object" && inEntry) {
            inEntry = false;
            if (!entry.name.empty()) {
                entries.push_back(entry);
            }
        }
    }
    return entries;
}

}  // namespace quorrel::platform
