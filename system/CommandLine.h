#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorrel::system {

// Splits a command line into arguments the way a Windows C runtime does, so that a line
// means the same on every platform:
//  - blanks and tabs outside double quotes separate arguments;
//  - the program name (first argument) ends at the first blank outside quotes, and its
//    quotes are dropped; backslashes in it are plain characters;
//  - in the other arguments, 2n backslashes before a double quote give n backslashes and
//    the quote opens or closes a quoted part; 2n+1 backslashes before a double quote give
//    n backslashes and a literal quote; backslashes not before a quote are literal;
//  - inside a quoted part, two double quotes give one literal quote and the part goes on.
// An argument made only of quotes ("") is an empty argument.
std::vector<std::string> splitCommandLine(std::string_view line);

}  // namespace quorrel::system
