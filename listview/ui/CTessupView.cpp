#include "listview/ui/CTessupView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QStyledItemDelegate>

#include "base/CommandIds.h"
#include "listview/ui/PrintCommands.h"
#include "listview/ui/ProfileTableModel.h"
#include "resources/ListViewTexts.h"

namespace quorrel {

namespace {

// Qt frames the current cell of a focused view; the list marks its one selected row only,
// so a frame on any other row would read as a second selection.
class SelectedRowOnlyDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem item(option);
        if (!item.state.testFlag(QStyle::State_Selected)) {
            item.state &= ~QStyle::State_HasFocus;
        }
        QStyledItemDelegate::paint(painter, item, index);
    }
};

}  // namespace

CTessupView::CTessupView(CTessupDoc* document, QWidget* parent)
    : QTableView(parent),
      document_(document),
      model_(new ProfileTableModel(this)),
      printing_(std::make_unique<PrintCommands>(*this)) {
    setModel(model_);
    setItemDelegate(new SelectedRowOnlyDelegate(this));
}

CTessupView::~CTessupView() = default;

void CTessupView::OnInitialUpdate(const ProfileList& profiles) {
    // Columns: the model's six, with their widths; the user may resize and reorder them
    // while the program runs, and each start shows the table's widths and order again.
    QHeaderView* header = horizontalHeader();
    for (int column = 0; column < kListColumnCount; ++column) {
        header->resizeSection(column, listColumns()[static_cast<std::size_t>(column)].width);
    }
    header->setSectionsMovable(true);
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setStretchLastSection(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);

    // Grid lines, full-row single selection that stays visible without the focus.
    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setIconSize(QSize(16, 16));
    // The view sorts by itself (see sortHook). Switching Qt's sorting off also hides the
    // header's arrow, so the arrow is switched on after it.
    setSortingEnabled(false);
    header->setSortIndicatorShown(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);

    connect(header, &QHeaderView::sectionClicked, this, &CTessupView::sortHook);

    RefreshList(profiles);
    state_.markInitialized();
}

void CTessupView::RefreshList(const ProfileList& profiles) {
    const int position = state_.rememberPosition(firstSelectedRow());
    model_->setList(profiles);

    if (!state_.initialized()) {
        // The first profile in list order is selected before the sort moves it.
        selectRow(state_.positionToSelect(position, rowCount()));
        resort();
    } else {
        resort();
        selectRow(state_.positionToSelect(position, rowCount()));
    }
    emit listRefreshed();
}

void CTessupView::sortHook(int column) {
    const int sortColumn = state_.sortHook(column);
    model_->sortRows(sortColumn, state_.sortAscending());
    showSortArrow();
}

void CTessupView::resort() {
    const int sortColumn = state_.resort();
    model_->sortRows(sortColumn, state_.sortAscending());
    showSortArrow();
}

int CTessupView::rowCount() const {
    return model_->rowCount();
}

int CTessupView::firstSelectedRow() const {
    if (selectionModel() == nullptr) {
        return -1;
    }
    int first = -1;
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        if (first < 0 || index.row() < first) {
            first = index.row();
        }
    }
    return first;
}

std::string CTessupView::cellText(int row, int column) const {
    return model_->data(model_->index(row, column), Qt::DisplayRole).toString().toStdString();
}

int CTessupView::listPosition(int row) const {
    return model_->listPosition(row);
}

bool CTessupView::showContextMenu(const QPoint& globalPosition) {
    if (rowCount() == 0 || firstSelectedRow() < 0) {
        return false;
    }
    delete contextMenu_;
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const auto addCommand = [this, menu](const char* text, int command) {
        menu->addAction(QString::fromUtf8(text), this,
                        [this, command] { emit commandRequested(command); });
    };
    addCommand(texts::kPopupCopy, ID_POPUP_COPY);
    addCommand(texts::kPopupEdit, ID_POPUP_EDIT);
    addCommand(texts::kPopupDelete, ID_POPUP_DELETE);
    menu->addSeparator();
    addCommand(texts::kPopupApply, ID_POPUP_APPLY);
    contextMenu_ = menu;
    menu->popup(globalPosition);
    return true;
}

void CTessupView::setPrintServices(PrintServices services) {
    printing_->setServices(std::move(services));
}

void CTessupView::PrintProfileList() {
    printing_->PrintProfileList();
}

void CTessupView::OnFilePrintPreview() {
    printing_->OnFilePrintPreview();
}

void CTessupView::OnFilePrintDirect() {
    printing_->OnFilePrintDirect();
}

void CTessupView::contextMenuEvent(QContextMenuEvent* event) {
    showContextMenu(event->globalPos());
    event->accept();
}

void CTessupView::mouseDoubleClickEvent(QMouseEvent* event) {
    // Only the left button applies; the others' double-clicks do nothing here.
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    if (firstSelectedRow() < 0) {
        return;
    }
    emit commandRequested(ID_PROFILE_APPLY);
    QTableView::mouseDoubleClickEvent(event);
}

void CTessupView::selectRow(int row) {
    selectionModel()->clearSelection();
    if (row < 0) {
        return;
    }
    // The keyboard goes on from the selected row, which becomes the current one too; the
    // scroll position stays where it was.
    const bool scrolls = hasAutoScroll();
    setAutoScroll(false);
    selectionModel()->setCurrentIndex(model_->index(row, 0), QItemSelectionModel::NoUpdate);
    setAutoScroll(scrolls);
    selectionModel()->select(model_->index(row, 0),
                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void CTessupView::showSortArrow() {
    horizontalHeader()->setSortIndicatorShown(true);
    horizontalHeader()->setSortIndicator(
        state_.sortColumn(), state_.sortAscending() ? Qt::AscendingOrder : Qt::DescendingOrder);
}

}  // namespace quorrel
