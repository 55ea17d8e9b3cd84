#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "apply/ApplyPlan.h"
#include "apply/WorkerMessageGate.h"
#include "base/MessagePresenter.h"
#include "platform/ProcessRunner.h"

namespace quorrel {

// What the command worker uses of the rest of the program. Every member may be left
// empty except `runner`.
struct CommandThreadServices {
    std::shared_ptr<platform::ProcessRunner> runner;
    // Shows the worker's message boxes; see WorkerMessageGate for how `postToUi` brings
    // them onto the user-interface thread. Without a presenter no box is shown.
    std::shared_ptr<MessagePresenter> presenter;
    WorkerMessageGate::Post postToUi;
    // One debug line (the line's prefix is the tracer's business): DebugTrace("%s", ...).
    std::function<void(const std::string&)> trace;
    // Text written to the debugger output as it stands.
    std::function<void(const std::string&)> debugOutput;
};

// Runs the lines of an apply's plan one after another on a worker thread of its own, each
// as a process of its own: the address line, then the DNS line and the second DNS line
// when they are not empty. Each line starts only after the previous one has ended, and is
// traced before it starts; what a line wrote on standard error is traced after it.
//
// The apply succeeds only when every line started, was waited for and exited with 0. A
// line that exits with another code does not stop the lines after it, but the result is
// failure. Start and wait failures end the worker, with these reports:
//   address line not started   -> debugger output only
//   address line wait failed   -> message box (address text)
//   DNS line not started/wait  -> message box (DNS text)
//   second DNS line not started -> debug line only;  its wait failed -> DNS box
//
// running() is true from construction until the worker has finished; once it reads
// false, succeeded() and everything the worker did are visible to the reader.
// waitUntilEnded() waits for that, up to a deadline, for a caller without an event loop.
//
// cancel(), or discarding the object, gives the worker up: no further line starts and no
// further message box appears, while a child that is running is left to end on its own.
// The worker thread owns what it uses, so discarding the object never waits for it.
class CCommandThread {
public:
    CCommandThread(ApplyPlan plan, CommandThreadServices services);
    ~CCommandThread();
    CCommandThread(const CCommandThread&) = delete;
    CCommandThread& operator=(const CCommandThread&) = delete;

    bool running() const;
    // True once the worker has finished, false when `deadline` came first.
    bool waitUntilEnded(std::chrono::steady_clock::time_point deadline) const;
    bool succeeded() const;
    void cancel();

    // What the lines that did not succeed wrote on standard error (the reason each gives),
    // one after another; "" when they said nothing. Meaningful once running() reads false.
    std::string failureDetails() const;

private:
    struct State;
    std::shared_ptr<State> state_;
};

}  // namespace quorrel
