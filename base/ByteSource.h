#pragma once

#include <functional>
#include <string_view>

namespace quorrel {

// A file's bytes handed over in pieces, so that neither side holds all of them at once: the
// writer and the file's maker, or a file's reader and the one that takes what it reads.

// Takes the next piece. Returns false once the write has failed, or when the taker wants no
// more; the maker stops then, as later pieces would go nowhere.
using ByteSink = std::function<bool(std::string_view piece)>;

// Hands all of its bytes, in order, to the sink, and stops at the sink's first false. A
// writer may call it again (a write that has to start over), and each call hands the same
// bytes from the start.
using ByteSource = std::function<void(const ByteSink& sink)>;

// The source of bytes that are at hand already: one piece, none when they are empty.
// `bytes` must outlive the source.
inline ByteSource wholeBytes(std::string_view bytes) {
    return [bytes](const ByteSink& sink) {
        if (!bytes.empty()) {
            sink(bytes);
        }
    };
}

}  // namespace quorrel
