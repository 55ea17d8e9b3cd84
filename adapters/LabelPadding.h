#pragma once

#include <string>
#include <string_view>

namespace quorrel {

// Width of the captions of the adapter details, in columns of the fixed-pitch body font.
inline constexpr int kDetailLabelColumns = 13;

// How many columns a UTF-8 text takes in a fixed-pitch Korean face: a Hangul syllable or
// jamo and the other wide East Asian characters take two, everything else one. A byte that
// does not start a valid UTF-8 sequence counts as one column.
int displayColumns(std::string_view text);

// The caption padded with spaces to `columns` columns and followed by ": ", so that the
// colons of captions padded alike line up. A caption wider than that is not cut.
std::string paddedLabel(std::string_view caption, int columns = kDetailLabelColumns);

}  // namespace quorrel
