#pragma once

#include <memory>
#include <string>

#include "apply/CommandThread.h"
#include "platform/DebugOutput.h"
#include "platform/DebugTrace.h"
#include "platform/ProcessRunner.h"

namespace quorrel {

// The command worker's services on this system: the system's process runner, DebugTrace
// for the lines and the debugger output for the fixed texts. `presenter` shows the boxes
// on the user-interface thread; `postToUi` must run a call there later. Kept in this
// header so that the platform tests check the same wiring on both systems without Qt.
inline CommandThreadServices systemCommandServices(std::shared_ptr<MessagePresenter> presenter,
                                                   WorkerMessageGate::Post postToUi) {
    CommandThreadServices services;
    services.runner = platform::makeSystemProcessRunner();
    services.presenter = std::move(presenter);
    services.postToUi = std::move(postToUi);
    services.trace = [](const std::string& line) { DebugTrace("%s", line.c_str()); };
    services.debugOutput = [](const std::string& text) { platform::writeDebugOutput(text); };
    return services;
}

}  // namespace quorrel
