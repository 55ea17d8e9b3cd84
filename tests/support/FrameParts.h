#pragma once

#include "app/ApplyRun.h"
#include "app/ChosenAdapter.h"
#include "app/ProfileCommands.h"
#include "app/ProfileStore.h"

namespace quorrel::test {

// The parts of the main frame's working state, wired as the frame wires them, for the
// tests that drive them without widgets.
struct FrameParts {
    explicit FrameParts(ProfileStoreServices services)
        : store(services),
          apply(store, adapter, services.messages, services.trace),
          commands(store, apply.lastAppliedName, services.messages) {}

    ProfileStore store;
    ChosenAdapter adapter;
    ApplyRun apply;
    ProfileCommands commands;
};

}  // namespace quorrel::test
