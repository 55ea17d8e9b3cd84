#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace quorrel {

// A UUID made from a name: the same name always gives the same UUID (two FNV-1a hashes
// of it, laid out with the version and variant bits of a name-based UUID), so a connection
// written again keeps its identity.
inline std::string nameBasedUuid(std::string_view name) {
    const auto fnv1a = [name](std::uint64_t hash) {
        for (const char c : name) {
            hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
        }
        return hash;
    };
    const std::uint64_t high = fnv1a(0xcbf29ce484222325ULL);
    const std::uint64_t low = fnv1a(high ^ 0x9e3779b97f4a7c15ULL);
    char text[40];
    std::snprintf(text, sizeof text, "%08llx-%04llx-%04llx-%04llx-%012llx",
                  static_cast<unsigned long long>(high >> 32),
                  static_cast<unsigned long long>((high >> 16) & 0xffff),
                  static_cast<unsigned long long>((high & 0x0fff) | 0x5000),
                  static_cast<unsigned long long>(((low >> 48) & 0x3fff) | 0x8000),
                  static_cast<unsigned long long>(low & 0xffffffffffffULL));
    return text;
}

}  // namespace quorrel
