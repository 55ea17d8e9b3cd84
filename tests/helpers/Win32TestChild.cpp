#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "tests/helpers/TestChildSystem.h"

void writeOutputAsBytes() {
    _setmode(_fileno(stdout), _O_BINARY);
}

bool hasConsoleWindow() {
    return GetConsoleWindow() != nullptr;
}
