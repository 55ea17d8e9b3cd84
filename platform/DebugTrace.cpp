#include "platform/DebugTrace.h"

#include <cstdarg>
#include <cstdio>

#include "base/DebugLine.h"
#include "platform/DebugOutput.h"

namespace quorrel {

void DebugTrace(const char* format, ...) {
    char message[kDebugLineBufferSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    platform::writeDebugOutput(formatDebugLine(platform::currentThreadId(), message));
}

}  // namespace quorrel
