#pragma once

#include <string>

#include "base/MessagePresenter.h"

namespace quorrel {

// What the user is told when the data file cannot be written or read. A failed save is never
// silent: the message names the file and the reason.

// After a command: the standard box naming the file.
Message saveFailedMessage(const std::string& path, const std::string& reason);

// On closing the window: the same text with the question whether to close anyway.
Message saveFailedOnCloseMessage(const std::string& path, const std::string& reason);

// At start-up, when a data file is there but cannot be read: the standard box naming the
// file and the reason, and saying that this run saves nothing over it.
Message loadFailedMessage(const std::string& path, const std::string& reason);

// Decides whether the window may close after its save. A successful save closes; after a
// failed one the user answers: Yes closes anyway, No keeps the window open so that the
// save can be tried again.
bool mayCloseAfterSave(bool saved, const std::string& path, const std::string& reason,
                       MessagePresenter& messages);

}  // namespace quorrel
