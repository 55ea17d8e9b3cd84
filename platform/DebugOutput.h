#pragma once

#include <functional>
#include <string_view>

namespace quorrel::platform {

// The debugger output: OutputDebugStringA on Windows, standard error on Linux.
void writeDebugOutput(std::string_view line);

// Called once at start: writing to a standard stream whose reader has gone (a closed pipe)
// then fails quietly instead of ending the process. On Linux the debug lines go to
// standard error, and a program started with it closed must still run. Child processes
// the program starts get the usual behaviour back.
void keepRunningWhenOutputCloses();

// Numeric identifier of the calling thread, as the system reports it.
unsigned long currentThreadId();

// Sends debug lines to `sink` instead of the system's output (tests capture them this
// way); an empty function restores the system's output. Safe to call from any thread.
void setDebugSink(std::function<void(std::string_view)> sink);

}  // namespace quorrel::platform
