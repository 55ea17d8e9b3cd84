#include "listview/ui/QtPrinterInventory.h"

#include <QPrinterInfo>
#include <QStringList>

namespace quorrel {

std::vector<std::string> QtPrinterInventory::entryNames() const {
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames()) {
        names.push_back(name.toStdString());
    }
    return names;
}

}  // namespace quorrel
