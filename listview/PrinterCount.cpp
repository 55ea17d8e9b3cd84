#include "listview/PrinterCount.h"

#include "listview/PrinterInventory.h"

#include "resources/ListTexts.h"

namespace quorrel::print {

int countInstalledPrinters(const std::vector<std::string>& entryNames) {
    int count = 0;
    for (const auto& name : entryNames) {
        if (name != texts::kAddPrinterEntry) {
            ++count;
        }
    }
    return count;
}

std::string noPrinterMessage() {
    return std::string(texts::kNoPrinterPart1) + texts::kNoPrinterPart2 + texts::kNoPrinterPart3;
}

}  // namespace quorrel::print

namespace quorrel {

int CountInstalledPrinters(const PrinterInventory& inventory) {
    return print::countInstalledPrinters(inventory.entryNames());
}

}  // namespace quorrel
