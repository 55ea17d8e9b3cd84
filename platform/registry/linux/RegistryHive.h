#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Expected.h"

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
//
// The hive keeps the file's lines, so that a rewrite keeps what a person wrote: comments
// and blank lines stay where they are, a changed value is rewritten in its own line, a new
// value goes at the end of its key's section and a new key at the end of the file. A key
// or value written twice (say in another letter case) stays twice; reads and writes take
// the last one, as an import of the file would.
class RegistryHive {
public:
    // Reads the text form. Anything that cannot be represented exactly (an unknown line, a
    // value of another type, a broken escape) makes the whole text damaged: the failure
    // says where and why, so that a rewrite never drops data silently.
    static Expected<RegistryHive> parse(std::string_view text);

    // The text form. A hive that did not come from a file, or from an empty one, is headed
    // by a comment naming the hive.
    std::string serialize(std::string_view hiveName) const;

    bool hasKey(std::string_view path) const;

    // Gives the key a section of its own, and a parent that does not exist one too.
    void createKey(std::string_view path);

    const RegistryValue* find(std::string_view path, std::string_view name) const;

    // Sets a value, creating the key when needed.
    void put(std::string_view path, std::string_view name, RegistryValue value);

private:
    struct Line {
        enum class Kind { Other, Key, Value };
        Kind kind = Kind::Other;
        std::string text;  // as written, without the line end
        std::string end;   // the line end it came with; "" for the file's (or none)
        std::string path;  // Key: its path; Value: the path of its section
        std::string name;  // Value: its name as written
        RegistryValue value;
    };

    // The index of the last line with this key path (or value in it), or npos.
    std::size_t lastKeyLine(std::string_view path) const;
    std::size_t lastValueLine(std::string_view path, std::string_view name) const;
    void addKey(std::string path);

    std::vector<Line> lines_;  // in file order
    std::string lineEnd_ = "\n";
    bool headed_ = false;  // the text came from a file that had lines of its own
};

// Whether `path` is a key path the registry accepts: names of printable characters
// joined by single backslashes.
bool isValidKeyPath(std::string_view path);

}  // namespace quorrel::platform
