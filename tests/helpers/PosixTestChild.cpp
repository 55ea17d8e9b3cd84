#include "tests/helpers/TestChildSystem.h"

void writeOutputAsBytes() {
    // Standard output is bytes already.
}

bool hasConsoleWindow() {
    return false;
}
