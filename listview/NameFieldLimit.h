#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/TextCodec.h"

namespace quorrel {

// What the name field holds after an edit, as a text box limited to the profile name's
// code-page bytes behaves: the characters the edit inserted are kept as far as they fit,
// whole characters only (a Hangul syllable is never split), so a pasted name that is too
// long keeps its first bytes. An edit that does not make the text longer in code-page
// bytes is kept as it is, so a stored name above the limit can still be shortened.
struct NameFieldEdit {
    std::string text;
    // Where the cursor goes: the end of what was inserted, as a byte offset into text.
    std::size_t cursor = 0;
    // Whether part of the edit was dropped (the field beeps).
    bool cut = false;
};

NameFieldEdit limitNameFieldEdit(const platform::TextCodec& codec, std::string_view before,
                                 std::string_view after, std::size_t byteLimit);

}  // namespace quorrel
