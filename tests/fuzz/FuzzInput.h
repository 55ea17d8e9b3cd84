#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorrel::fuzz {

inline std::string_view textOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The input cut at every `separator` into words (empty ones kept).
inline std::vector<std::string> wordsOf(std::string_view text, char separator) {
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(separator, start), text.size());
        words.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

// A broken promise of the code under test: libFuzzer keeps the input that did it.
inline void require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

}  // namespace quorrel::fuzz
