#pragma once

#include "listview/PrinterInventory.h"

namespace quorrel {

// The printers Qt knows (CUPS on Linux, the spooler on Windows).
class QtPrinterInventory final : public PrinterInventory {
public:
    std::vector<std::string> entryNames() const override;
};

}  // namespace quorrel
