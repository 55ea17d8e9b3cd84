#include "apply/SystemCommandServices.h"

#include "platform/DebugOutput.h"
#include "platform/DebugTrace.h"
#include "platform/ProcessRunner.h"

namespace quorrel {

CommandThreadServices systemCommandServices(std::shared_ptr<MessagePresenter> presenter,
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
