#pragma once

#include <memory>
#include <string>

#include "system/OutputCapture.h"

namespace quorrel::system::win32 {

// Starts `commandLine` (with `application` as the program when not empty, else the first
// word of the command line; in `folder` when not empty, else ours) hidden, with its
// standard input and output on anonymous pipes, and collects its output.
std::unique_ptr<OutputCapture> makeCaptureWith(std::string application, std::string commandLine,
                                               std::string folder);

}  // namespace quorrel::system::win32
