#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorrel::platform {

// One value of the registry stand-in: a string (REG_SZ) or a 32-bit number (REG_DWORD).
struct RegistryValue {
    bool isDword = false;
    std::string text;
    std::uint32_t number = 0;
};

// The keys and values of one hive, as held in its store file. The text form is the
// ".reg" style, readable and editable by hand:
//
//   ; HKEY_LOCAL_MACHINE
//   [SOFTWARE\Varnok\Quorrel]
//   "PATH"="/home/kim/quorrel"
//   "AutoCheck"=dword:00000001
//
// Key paths and value names compare without regard to ASCII case, as in the registry, and
// keep the spelling they were created with. A key exists when it has a section or when a
// section lies below it.
class RegistryHive {
public:
    // Reads the text form. Anything that cannot be represented exactly (an unknown line, a
    // value of another type, a broken escape) makes the whole text damaged: nothing is
    // returned and `error` says where and why, so that a rewrite never drops data silently.
    static std::optional<RegistryHive> parse(std::string_view text, std::string& error);

    // The text form, headed by a comment naming the hive.
    std::string serialize(std::string_view hiveName) const;

    bool hasKey(std::string_view path) const;

    // Adds the key and every missing parent.
    void createKey(std::string_view path);

    const RegistryValue* find(std::string_view path, std::string_view name) const;

    // Sets a value, creating the key when needed.
    void put(std::string_view path, std::string_view name, RegistryValue value);

private:
    struct Key {
        std::string path;
        std::vector<std::pair<std::string, RegistryValue>> values;  // in the order set
    };

    Key* findKey(std::string_view path);
    const Key* findKey(std::string_view path) const;
    Key& addKey(std::string_view path);

    std::vector<Key> keys_;  // in file order
};

// Whether `path` is a key path the registry accepts: names of printable characters
// joined by single backslashes.
bool isValidKeyPath(std::string_view path);

}  // namespace quorrel::platform
