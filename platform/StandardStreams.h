#pragma once

#include <string_view>

namespace quorrel::platform {

// The command line's standard output and standard error. Texts are UTF-8 inside the
// program.

// Called once, before the command line writes anything. On Windows a window program gets
// no standard streams from the console that started it; it writes to that console then.
// On Linux the streams are inherited as they are.
void connectStandardStreams();

// Each call writes the whole text and flushes it, so that the lines keep their order with
// what the started commands print on the same terminal. On Windows a console gets the text
// in UTF-16, readable whatever the console's code page; a file or a pipe gets it in the
// program's code page with CRLF line ends, as Korean Windows programs write them.
void writeStandardOutput(std::string_view text);
void writeStandardError(std::string_view text);

}  // namespace quorrel::platform
