#include "listview/ui/ProfileTableModel.h"

#include <QPixmap>

#include "platform/TextCodec.h"

namespace quorrel {

ProfileTableModel::ProfileTableModel(QObject* parent) : QAbstractTableModel(parent) {
    // The marker strip holds two 16 x 16 images; the first is the check mark.
    const QPixmap strip(QStringLiteral(":/images/list_marker.png"));
    checkMark_ = QIcon(strip.copy(0, 0, 16, 16));
}

void ProfileTableModel::setRows(std::vector<ProfileRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    listPositions_.resize(rows_.size());
    for (std::size_t i = 0; i < listPositions_.size(); ++i) {
        listPositions_[i] = i;
    }
    endResetModel();
}

std::vector<std::size_t> ProfileTableModel::sortRows(int column, bool ascending) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    const auto order = sortProfileRows(rows_, column, ascending);
    std::vector<std::size_t> sortedPositions(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        sortedPositions[i] = listPositions_[order[i]];
    }
    listPositions_ = std::move(sortedPositions);
    std::vector<int> newPosition(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        newPosition[order[i]] = static_cast<int>(i);
    }
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before) {
        after.append(
            this->index(newPosition[static_cast<std::size_t>(index.row())], index.column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    return order;
}

int ProfileTableModel::listPosition(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= listPositions_.size()) {
        return -1;
    }
    return static_cast<int>(listPositions_[static_cast<std::size_t>(row)]);
}

int ProfileTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ProfileTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kListColumnCount;
}

QVariant ProfileTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) {
        return {};
    }
    const ProfileRow& row = rows_[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(
                platform::readableText(row.cells[static_cast<std::size_t>(index.column())]));
        case Qt::DecorationRole:
            if (index.column() == 0 && row.checked) {
                return checkMark_;
            }
            return {};
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant ProfileTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kListColumnCount) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return QString::fromUtf8(listColumns()[static_cast<std::size_t>(section)].heading);
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

}  // namespace quorrel
