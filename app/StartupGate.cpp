#include "app/StartupGate.h"

#include "resources/AppTexts.h"

namespace quorrel {

StartVerdict checkStart(platform::InstanceLock& lock, platform::WindowLookup& windows,
                        platform::AdapterProbe& probe, MessagePresenter& messages) {
    if (lock.acquire(texts::kMutexName) == platform::LockResult::AlreadyExists) {
        if (windows.restoreWindowTitled(texts::kAppTitle)) {
            return StartVerdict::RaisedRunningOne;
        }
        messages.show(standardMessage(texts::kAlreadyRunning));
        return StartVerdict::AlreadyRunning;
    }
    if (!probe.hasAdapter()) {
        messages.show(standardMessage(texts::kNoAdapter));
        return StartVerdict::NoAdapter;
    }
    return StartVerdict::Run;
}

}  // namespace quorrel
