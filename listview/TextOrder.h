#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace quorrel {

// The order of a list's rows by one text each, byte by byte as std::string_view compares, equal
// texts keeping their order: result[i] is the index in `texts` of the i-th row. Sorts the
// texts' first bytes held side by side, so that a long list is sorted without reaching into
// each text for most comparisons.
std::vector<std::size_t> stableTextOrder(const std::vector<std::string_view>& texts,
                                         bool ascending);

}  // namespace quorrel
