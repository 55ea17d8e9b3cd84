#include "app/ProfileNames.h"

#include "resources/ProfileTexts.h"
#include "resources/SafetyTexts.h"

namespace quorrel {

namespace {

// Fills the name format's "%s" with `text` and its "%d" with `number`. The text is
// inserted as it stands, never read as a format itself.
std::string fillNameFormat(std::string_view format, std::string_view text, int number) {
    std::string result;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            const char kind = format[i + 1];
            if (kind == 's') {
                result += text;
                ++i;
                continue;
            }
            if (kind == 'd') {
                result += std::to_string(number);
                ++i;
                continue;
            }
        }
        result += format[i];
    }
    return result;
}

std::string lowestFreeName(const ProfileList& list, std::string_view format,
                           std::string_view text) {
    // At most size()+1 candidates can be tried before one is free.
    for (int n = 1;; ++n) {
        std::string candidate = fillNameFormat(format, text, n);
        if (list.findByName(candidate) == nullptr) {
            return candidate;
        }
    }
}

}  // namespace

std::string NextFreeProfileName(const ProfileList& list) {
    return lowestFreeName(list, texts::kAdoptedProfileNameFormat, {});
}

std::string NextFreeRestoreName(const ProfileList& list) {
    return lowestFreeName(list, texts::kRestoreProfileNameFormat, {});
}

std::string CopyProfileName(const ProfileList& list, std::string_view sourceName) {
    return lowestFreeName(list, texts::kCopyProfileNameFormat, sourceName);
}

}  // namespace quorrel
