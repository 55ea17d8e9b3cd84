#pragma once

// What the test child does differently per system (PosixTestChild.cpp, Win32TestChild.cpp).

// Standard output takes the bytes as they are written, without line-end translation.
void writeOutputAsBytes();

// Whether the child has a console window of its own.
bool hasConsoleWindow();
