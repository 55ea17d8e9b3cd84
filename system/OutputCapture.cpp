#include "system/OutputCapture.h"

#include <array>

namespace quorrel::system {

std::string collectChunks(const ChunkReader& read) {
    std::string text;
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
        text.append(buffer.data(), bytes);
    }
    return text;
}

}  // namespace quorrel::system
