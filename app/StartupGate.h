#pragma once

#include "base/MessagePresenter.h"
#include "platform/AdapterProbe.h"
#include "platform/InstanceLock.h"
#include "platform/WindowLookup.h"

namespace quorrel {

// Whether this process may run at all. Runs before anything of the program is read or
// written, so a refused start touches no file and no setting.
enum class StartVerdict {
    Run,               // first instance on a machine with an adapter
    RaisedRunningOne,  // another instance runs; its window was brought to the front
    AlreadyRunning,    // another instance runs, its window was not found; the user was told
    NoAdapter,         // no network adapter; the user was told
};

// In this order: take the lock "Quorrel" (a lock that cannot be made for a reason other
// than another instance counts as taken); if another instance holds it, raise its window
// titled exactly "Quorrel v2.1.1" or, without one, say "이미 실행되어 있습니다."; then probe
// for an adapter and say so when there is none. Messages are the standard box.
StartVerdict checkStart(platform::InstanceLock& lock, platform::WindowLookup& windows,
                        platform::AdapterProbe& probe, MessagePresenter& messages);

}  // namespace quorrel
