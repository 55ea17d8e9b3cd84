#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace quorrel::system {

// The standard output of a command, read through a pipe while it runs.
struct CapturedOutput {
    bool started = false;  // false: the command (or its pipe) could not be set up
    std::string text;      // the bytes exactly as written: code page and line ends untouched
    std::string reason;    // why it did not start, for the debugger output
};

class OutputCapture {
public:
    virtual ~OutputCapture() = default;

    // Starts the command, collects its standard output and returns it. Blocks until the
    // command has closed its output, which it does at the latest when it ends.
    virtual CapturedOutput capture() = 0;
};

// Captures the output of `commandLine`, started the way the platform's process runner
// starts its command lines.
std::unique_ptr<OutputCapture> makeCommandCapture(std::string commandLine);

// Size of one read from the pipe.
inline constexpr std::size_t kCaptureChunkSize = 1024;

// Reads up to `capacity` bytes into `buffer`; returns the count, 0 at the end of the data
// and a negative number when the read failed.
using ChunkReader = std::function<long(char* buffer, std::size_t capacity)>;

// Collects everything `read` delivers in reads of kCaptureChunkSize bytes, each into a
// cleared buffer, until the end of the data or a failed read. A read that brings fewer
// bytes than asked for does not end the collection: a pipe hands over what the child has
// written so far, and the rest follows.
std::string collectChunks(const ChunkReader& read);

}  // namespace quorrel::system
