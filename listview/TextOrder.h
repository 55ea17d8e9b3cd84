#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace quorrel {

// The text of row `index`; it stays valid while the order is being made.
using TextAt = std::function<std::string_view(std::size_t index)>;

// The order of `count` rows by one text each, byte by byte as std::string_view compares,
// equal texts keeping their order: result[i] is the index of the i-th row. Sorts the texts'
// first bytes held side by side, so that a long list is sorted without reaching into each
// text for most comparisons, and without a copy of the texts or of pointers to them. A long
// list is sorted by two threads, each half on its own, and merged; `textAt` is then called
// from both.
std::vector<std::size_t> stableTextOrder(std::size_t count, const TextAt& textAt, bool ascending);

// The same for texts at hand in a vector.
std::vector<std::size_t> stableTextOrder(const std::vector<std::string_view>& texts,
                                         bool ascending);

}  // namespace quorrel
