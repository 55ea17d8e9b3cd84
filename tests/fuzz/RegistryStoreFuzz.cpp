// The registry store file: a text that reads is written back as it came, and what it
// writes reads again with the same values.

#include "platform/registry/linux/RegistryHive.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorrel;
    const std::string_view input = fuzz::textOf(data, size);
    auto hive = platform::RegistryHive::parse(input);
    if (!hive) {
        fuzz::require(!hive.error().empty());
        return 0;
    }
    // A file that ends with a line end reads back byte for byte.
    if (!input.empty() && input.back() == '\n') {
        fuzz::require(hive->serialize("HKEY_LOCAL_MACHINE") == input);
    }
    hive->put("SOFTWARE\\Varnok\\Quorrel", "PATH", {false, "/home/kim/", 0});
    const std::string text = hive->serialize("HKEY_LOCAL_MACHINE");
    auto reread = platform::RegistryHive::parse(text);
    fuzz::require(reread.ok());
    fuzz::require(reread->serialize("HKEY_LOCAL_MACHINE") == text);
    const platform::RegistryValue* path = reread->find("software\\varnok\\quorrel", "path");
    fuzz::require(path != nullptr && !path->isDword && path->text == "/home/kim/");
    return 0;
}
