#include "listview/NameFieldLimit.h"

#include <algorithm>

namespace quorrel {

namespace {

bool isContinuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

std::size_t characterLength(std::string_view text, std::size_t at) {
    std::size_t end = at + 1;
    while (end < text.size() && isContinuation(text[end])) {
        ++end;
    }
    return end - at;
}

}  // namespace

NameFieldEdit limitNameFieldEdit(const platform::TextCodec& codec, std::string_view before,
                                 std::string_view after, std::size_t byteLimit) {
    // The edit replaced the part between the longest common beginning and end of the two
    // texts, both on character boundaries.
    std::size_t prefix = 0;
    const std::size_t shorter = std::min(before.size(), after.size());
    while (prefix < shorter && before[prefix] == after[prefix]) {
        ++prefix;
    }
    while (prefix > 0 && prefix < after.size() && isContinuation(after[prefix])) {
        --prefix;
    }
    std::size_t suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
        ++suffix;
    }
    while (suffix > 0 && isContinuation(after[after.size() - suffix])) {
        --suffix;
    }
    const std::string_view inserted = after.substr(prefix, after.size() - prefix - suffix);

    const std::size_t length = codec.encodedLength(after);
    if (length <= byteLimit || length <= codec.encodedLength(before)) {
        return {std::string(after), prefix + inserted.size(), false};
    }

    // Too long: keep the inserted characters that fit beside the unchanged ones. Code-page
    // lengths add up character by character (the code page keeps no state).
    const std::string_view head = after.substr(0, prefix);
    const std::string_view tail = after.substr(after.size() - suffix);
    const std::size_t kept = codec.encodedLength(head) + codec.encodedLength(tail);
    std::size_t budget = kept < byteLimit ? byteLimit - kept : 0;
    std::size_t taken = 0;
    while (taken < inserted.size()) {
        const std::size_t size = characterLength(inserted, taken);
        const std::size_t bytes = codec.encodedLength(inserted.substr(taken, size));
        if (bytes > budget) {
            break;
        }
        budget -= bytes;
        taken += size;
    }
    std::string text(head);
    text += inserted.substr(0, taken);
    text += tail;
    return {std::move(text), prefix + taken, true};
}

}  // namespace quorrel
