#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <vector>

#include "listview/ProfileRows.h"

namespace quorrel {

// The rows of the profile list as the table shows them, in display order.
class ProfileTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ProfileTableModel(QObject* parent = nullptr);

    // Replaces every row.
    void setRows(std::vector<ProfileRow> rows);

    // Reorders the rows by one column; returns each new position's previous position.
    std::vector<std::size_t> sortRows(int column, bool ascending);

    const std::vector<ProfileRow>& rows() const { return rows_; }

    // Where the profile of a displayed row stands in the list the rows were made from (the
    // order setRows got them in); -1 for no such row.
    int listPosition(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<ProfileRow> rows_;
    std::vector<std::size_t> listPositions_;  // one per row, moved along by every sort
    QIcon checkMark_;
};

}  // namespace quorrel
