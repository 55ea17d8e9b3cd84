#include "system/OutputCapture.h"

#include <array>

namespace quorrel::system {

void collectChunks(const ChunkReader& read, const OutputPiece& piece) {
    std::array<char, kCaptureChunkSize + 1> buffer{};
    for (;;) {
        buffer.fill('\0');
        const long count = read(buffer.data(), kCaptureChunkSize);
        if (count <= 0) {
            break;
        }
        const auto bytes = static_cast<std::size_t>(count) < kCaptureChunkSize
                               ? static_cast<std::size_t>(count)
                               : kCaptureChunkSize;
        piece(std::string_view(buffer.data(), bytes));
    }
}

std::string collectChunks(const ChunkReader& read) {
    std::string text;
    collectChunks(read, [&text](std::string_view piece) { text.append(piece); });
    return text;
}

CapturedOutput OutputCapture::capture() {
    CapturedOutput result;
    if (const Done started = start(); !started) {
        result.reason = started.error();
        return result;
    }
    result.started = true;
    collect([&result](std::string_view piece) { result.text.append(piece); }, {});
    return result;
}

}  // namespace quorrel::system
