#pragma once

#include <string>

#include "system/OutputCapture.h"

namespace quorrel::system::win32 {

// Starts `commandLine` (with `application` as the program when not null, in `folder` when
// not null) hidden, with its standard input and output on anonymous pipes, and collects
// its output.
CapturedOutput captureWith(const char* application, std::string commandLine, const char* folder);

}  // namespace quorrel::system::win32
