#pragma once

#include <string>
#include <vector>

namespace quorrel::print {

// The number of printers among the entries of the system's printer list: every entry
// except the add-printer entry, recognised by its exact name.
int countInstalledPrinters(const std::vector<std::string>& entryNames);

// The message shown when no printer is installed.
std::string noPrinterMessage();

}  // namespace quorrel::print
