#include "base/LineAssembler.h"

#include <cstring>
#include <utility>

namespace quorrel {

namespace {

// Where the next '\n' at or after `from` lies, or npos.
std::size_t findLineEnd(std::string_view bytes, std::size_t from) {
    const void* found = std::memchr(bytes.data() + from, '\n', bytes.size() - from);
    return found == nullptr
               ? std::string_view::npos
               : static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data());
}

}  // namespace

LineAssembler::LineAssembler(LineSink sink) : sink_(std::move(sink)) {}

void LineAssembler::take(std::string_view piece) {
    if (piece.empty()) {
        return;
    }
    std::size_t pos = 0;
    if (!partial_.empty()) {
        const std::size_t end = findLineEnd(piece, 0);
        if (end == std::string_view::npos) {
            partial_ += piece;
            return;
        }
        partial_ += piece.substr(0, end);
        hand(partial_);
        partial_.clear();
        pos = end + 1;
    }
    while (pos < piece.size()) {
        const std::size_t end = findLineEnd(piece, pos);
        if (end == std::string_view::npos) {
            partial_.assign(piece.substr(pos));
            return;
        }
        hand(piece.substr(pos, end - pos));
        pos = end + 1;
    }
}

void LineAssembler::finish() {
    if (!partial_.empty()) {
        hand(partial_);
        partial_.clear();
    }
}

void LineAssembler::hand(std::string_view line) {
    // The '\r' of "\r\n" may have come in an earlier piece than its '\n', so it goes here;
    // so does a last line's final '\r' without a '\n' after it.
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    sink_(line);
}

}  // namespace quorrel
