#include "listview/PrinterInventory.h"

#include <QPrinterInfo>
#include <QStringList>

#include "listview/PrinterCount.h"

namespace quorrel {

std::vector<std::string> QtPrinterInventory::entryNames() const {
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames()) {
        names.push_back(name.toStdString());
    }
    return names;
}

int CountInstalledPrinters(const PrinterInventory& inventory) {
    return print::countInstalledPrinters(inventory.entryNames());
}

}  // namespace quorrel
