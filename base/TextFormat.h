#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace quorrel {

// Fills each "%s" of `format`, in order, with the next argument, character for character:
// an argument is never read as a format itself, so a "%" in a name stays as it is. A "%s"
// without an argument left becomes empty; other characters are copied unchanged.
std::string fillFormat(std::string_view format, std::initializer_list<std::string_view> args);

}  // namespace quorrel
