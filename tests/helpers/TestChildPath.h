#pragma once

#include <string>

#include "system/OwnProgram.h"

namespace quorrel::test {

// The folder of the running test program, ending in its separator. The test helper
// programs are built into the same folder.
inline std::string ownProgramFolder() {
    return system::ownProgramFolder();
}

// The child program of the process tests (tests/helpers/TestChild.cpp); the build names
// the file ending of programs on the system it builds for.
inline std::string testChildProgram() {
    return ownProgramFolder() + "quorrel_test_child" + QUORREL_EXECUTABLE_SUFFIX;
}

}  // namespace quorrel::test
