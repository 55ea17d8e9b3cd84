#pragma once

#include <string>

namespace quorrel::system {

// The full path of the running program; empty when the system does not tell.
std::string ownProgramPath();

// The folder of the running program, ending in its separator; empty when unknown.
std::string ownProgramFolder();

}  // namespace quorrel::system
