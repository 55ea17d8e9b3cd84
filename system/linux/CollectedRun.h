#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace quorrel::system {

// What a program wrote on standard output and standard error, and how it ended.
struct CollectedRun {
    bool started = false;
    bool timedOut = false;
    // The exit code; -1 when it was not started, was killed by a signal or ran past the
    // time limit.
    int exitCode = -1;
    std::string output;  // standard output (and standard error), interleaved
    std::string reason;  // why it was not started
};

struct CollectOptions {
    // "NAME=value" entries laid over our environment.
    std::vector<std::string> environment;
    // Standard error is collected with standard output; otherwise it stays ours.
    bool withErrors = true;
    // A program still running then is killed.
    std::optional<std::chrono::milliseconds> timeLimit;
};

// Runs the program file `program` with `argv` (argv[0] included) and collects its output
// until it has ended. A grandchild that keeps the output open does not hold the collection
// up: once the program has ended, only what is already in the pipe is read.
CollectedRun runCollectingOutput(const std::string& program, const std::vector<std::string>& argv,
                                 const CollectOptions& options = {});

}  // namespace quorrel::system
