#pragma once

#include <QString>

namespace quorrel {

// The program's texts (resources/*.h) are UTF-8; Qt takes them as QStrings.
inline QString qs(const char* text) {
    return QString::fromUtf8(text);
}

}  // namespace quorrel
