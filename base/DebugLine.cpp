#include "base/DebugLine.h"

#include <cstdio>

#include "resources/AppTexts.h"

namespace quorrel {

std::string formatDebugLine(unsigned long threadId, std::string_view message) {
    char prefix[64];
    const int prefixLength =
        std::snprintf(prefix, sizeof prefix, "[%s](%lu): ", texts::kProductName, threadId);
    std::string line(prefix, static_cast<std::size_t>(prefixLength));

    // Room for the message: the buffer less the prefix, the line feed and the zero.
    const std::size_t room = kDebugLineBufferSize - line.size() - 2;
    if (message.size() > room) {
        std::size_t cut = room;
        // Never split a UTF-8 sequence: step back over continuation bytes.
        while (cut > 0 && (static_cast<unsigned char>(message[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        message = message.substr(0, cut);
    }
    line += message;
    line += '\n';
    return line;
}

}  // namespace quorrel
