#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "base/Expected.h"

namespace quorrel::system {

// The standard output of a command, read through a pipe while it runs.
struct CapturedOutput {
    bool started = false;  // false: the command (or its pipe) could not be set up
    std::string text;      // the bytes exactly as written: code page and line ends untouched
    std::string reason;    // why it did not start, for the debugger output
};

// Hands over a piece of output as it is read.
using OutputPiece = std::function<void(std::string_view piece)>;
// Asked while a collection waits for output: true to give up.
using StopRequest = std::function<bool()>;

// How often a collection that may be stopped asks whether to stop while no output comes.
inline constexpr int kCaptureStopCheckMs = 50;

class OutputCapture {
public:
    virtual ~OutputCapture() = default;

    // Starts the command with its standard output on a pipe; a failure, with the reason,
    // when the command or its pipe cannot be set up.
    virtual Done start() = 0;

    // Reads what the started command writes, handing each piece to `piece` as it comes,
    // until the command has closed its output (true), which it does at the latest when
    // it ends, or until `stop` says to give up (false; what came so far has been handed
    // over). `stop` is asked before every read and, while no output comes, every
    // kCaptureStopCheckMs; without one the collection waits for the end of the output.
    // Runs once per start; the command itself is never waited for here.
    virtual bool collect(const OutputPiece& piece, const StopRequest& stop) = 0;

    // start() and collect() to the end of the output, in one.
    CapturedOutput capture();
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
// cleared buffer, until the end of the data or a failed read, and hands each piece to
// `piece`. A read that brings fewer bytes than asked for does not end the collection: a
// pipe hands over what the child has written so far, and the rest follows.
void collectChunks(const ChunkReader& read, const OutputPiece& piece);

// The same, returning everything collected.
std::string collectChunks(const ChunkReader& read);

}  // namespace quorrel::system
