#pragma once

#include <memory>

#include "apply/CommandThread.h"

namespace quorrel {

// The command worker's services on this system: the system's process runner, DebugTrace
// for the lines and the debugger output for the fixed texts. `presenter` shows the boxes
// on the user-interface thread; `postToUi` must run a call there later.
CommandThreadServices systemCommandServices(std::shared_ptr<MessagePresenter> presenter,
                                            WorkerMessageGate::Post postToUi);

}  // namespace quorrel
