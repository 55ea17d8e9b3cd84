// The data file's bytes as a load reads them, then saved and loaded again: the second load
// gives the profiles of the first.

#include "platform/TextCodec.h"
#include "profiles/ProfileFile.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorrel;
    static const auto codec = platform::makeCp949Codec();
    ProfileList first;
    parseProfiles(fuzz::textOf(data, size), *codec, first);
    std::string saved;
    serializeProfiles(first, *codec, saved);
    ProfileList second;
    parseProfiles(saved, *codec, second);
    std::string again;
    serializeProfiles(second, *codec, again);
    fuzz::require(again == saved);
    return 0;
}
