#pragma once

#include <string>
#include <vector>

namespace quorrel {

// The system's list of printers, as the print dialog would offer them. Tests put in a
// list of their own.
class PrinterInventory {
public:
    virtual ~PrinterInventory() = default;
    // The names of the entries, in the system's order.
    virtual std::vector<std::string> entryNames() const = 0;
};

// The number of installed printers: every entry but the add-printer entry. 0 means no
// printer is installed.
int CountInstalledPrinters(const PrinterInventory& inventory);

}  // namespace quorrel
