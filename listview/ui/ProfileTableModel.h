#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <vector>

#include "listview/ProfileRows.h"

namespace quorrel {

// The rows of the profile list as the table shows them, in display order. A row is a
// profile of the list and its place there; its texts are read from the profile as the row
// is painted, so that a list of any length costs no work for the rows out of sight.
class ProfileTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ProfileTableModel(QObject* parent = nullptr);

    // Shows every profile of `list`, in list order. The list is read until the next call:
    // once it has gained or lost a record since, the rows show nothing until then.
    void setList(const ProfileList& list);

    // Reorders the rows by one column; returns each new position's previous position.
    std::vector<std::size_t> sortRows(int column, bool ascending);

    // Where the profile of a displayed row stands in the list (its place when setList got
    // it); -1 for no such row.
    int listPosition(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Row {
        const IpProfile* profile;
        std::size_t listPosition;
    };
    // The profile a row shows, or null: no such row, or the list has changed shape.
    const IpProfile* profileAt(int row) const;

    const ProfileList* list_ = nullptr;
    std::size_t listVersion_ = 0;
    std::vector<Row> rows_;
    QIcon checkMark_;
};

}  // namespace quorrel
