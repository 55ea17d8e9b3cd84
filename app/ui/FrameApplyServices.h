#pragma once

#include "apply/CommandThread.h"

namespace quorrel {

class Prompter;

// The services of an apply's worker in the main frame: its message boxes go through
// `prompter` on the user-interface thread (FrameApply.cpp).
CommandThreadServices frameApplyServices(Prompter& prompter);

}  // namespace quorrel
