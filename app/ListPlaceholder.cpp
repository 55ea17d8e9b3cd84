#include "app/ListPlaceholder.h"

#include <QHeaderView>

namespace quorrel {

ListPlaceholder::ListPlaceholder(QWidget* parent) : QTableWidget(0, 1, parent) {
    setObjectName("listPlaceholder");
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
}

int ListPlaceholder::firstSelectedRow() const {
    for (int row = 0; row < QTableWidget::rowCount(); ++row) {
        const QTableWidgetItem* first = item(row, 0);
        if (first != nullptr && first->isSelected()) {
            return row;
        }
    }
    return -1;
}

QString ListPlaceholder::cellText(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell != nullptr ? cell->text() : QString();
}

}  // namespace quorrel
