#include "base/CompactText.h"

#include <limits>
#include <ostream>
#include <stdexcept>

namespace quorrel {

namespace {

// A heap copy of `text` followed by a 0 byte.
char* heapCopy(std::string_view text) {
    if (text.size() > std::numeric_limits<std::uint32_t>::max()) {
        throw std::length_error("text too long");
    }
    auto* copy = new char[text.size() + 1];
    std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    return copy;
}

}  // namespace

void CompactText::setInline(std::string_view text) {
    if (text.size() <= kInlineCapacity) {
        if (!text.empty()) {
            std::memcpy(bytes_, text.data(), text.size());
        }
        setInlineSize(text.size());
        return;
    }
    char* copy = heapCopy(text);
    const auto size = static_cast<std::uint32_t>(text.size());
    std::memcpy(bytes_, &copy, sizeof copy);
    std::memcpy(bytes_ + 8, &size, sizeof size);
    bytes_[15] = static_cast<char>(kHeapTag);
}

void CompactText::assign(std::string_view text) {
    // The old heap bytes go only after the new text is in place: `text` may lie in them.
    char* old = onHeap() ? heapPointer() : nullptr;
    if (text.size() <= kInlineCapacity) {
        char copy[kInlineCapacity];
        if (!text.empty()) {
            std::memcpy(copy, text.data(), text.size());
        }
        setInline({copy, text.size()});
    } else {
        setInline(text);
    }
    delete[] old;
}

std::ostream& operator<<(std::ostream& out, const CompactText& text) {
    return out << text.view();
}

}  // namespace quorrel
