#include "listview/ui/ProfileTableModel.h"

#include <QPixmap>
#include <numeric>

#include "listview/TextOrder.h"
#include "platform/TextCodec.h"

namespace quorrel {

ProfileTableModel::ProfileTableModel(QObject* parent) : QAbstractTableModel(parent) {
    // The marker strip holds two 16 x 16 images; the first is the check mark.
    const QPixmap strip(QStringLiteral(":/images/list_marker.png"));
    checkMark_ = QIcon(strip.copy(0, 0, 16, 16));
}

void ProfileTableModel::setList(const ProfileList& list) {
    beginResetModel();
    list_ = &list;
    listVersion_ = list.version();
    rows_.clear();
    rows_.reserve(list.size());
    std::size_t position = 0;
    for (const IpProfile& profile : list) {
        rows_.push_back({&profile, position++});
    }
    endResetModel();
}

const IpProfile* ProfileTableModel::profileAt(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size() || list_ == nullptr ||
        list_->version() != listVersion_) {
        return nullptr;
    }
    return rows_[static_cast<std::size_t>(row)].profile;
}

std::vector<std::size_t> ProfileTableModel::sortRows(int column, bool ascending) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const bool readable = list_ != nullptr && list_->version() == listVersion_;
    if (readable && column >= 0 && column < kListColumnCount) {
        // Byte-wise, equal texts keeping their order; the texts are read where they stand
        // in the profiles.
        order = stableTextOrder(
            rows_.size(),
            [this, column](std::size_t row) { return profileCell(*rows_[row].profile, column); },
            ascending);
    }
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    for (const std::size_t from : order) {
        sorted.push_back(rows_[from]);
    }
    rows_ = std::move(sorted);
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
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) {
        return -1;
    }
    return static_cast<int>(rows_[static_cast<std::size_t>(row)].listPosition);
}

int ProfileTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ProfileTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kListColumnCount;
}

QVariant ProfileTableModel::data(const QModelIndex& index, int role) const {
    const IpProfile* profile = index.isValid() ? profileAt(index.row()) : nullptr;
    if (profile == nullptr) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(
                platform::readableText(profileCell(*profile, index.column())));
        case Qt::DecorationRole:
            if (index.column() == 0 && profile->isCurrent != 0) {
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
