#pragma once

#include <QTableWidget>

#include "app/ListRows.h"

namespace quorrel {

// PLACEHOLDER for the profile list view: a bare table in the frame's client area until the
// real list view takes its place. It holds whatever rows are put into it and reports the
// selection, so that the frame's selection look-up works against a real widget.
class ListPlaceholder final : public QTableWidget, public ListRows {
    Q_OBJECT
public:
    explicit ListPlaceholder(QWidget* parent = nullptr);

    int rowCount() const override { return QTableWidget::rowCount(); }
    int firstSelectedRow() const override;
    QString cellText(int row, int column) const override;
};

}  // namespace quorrel
