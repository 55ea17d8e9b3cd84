#include <cstdio>

#include "platform/StandardStreams.h"

namespace quorrel::platform {

namespace {

void write(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

}  // namespace

void connectStandardStreams() {
    // A terminal's streams are inherited by every program it starts.
}

void writeStandardOutput(std::string_view text) {
    write(stdout, text);
}

void writeStandardError(std::string_view text) {
    write(stderr, text);
}

}  // namespace quorrel::platform
