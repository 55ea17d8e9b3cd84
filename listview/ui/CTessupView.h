#pragma once

#include <QMenu>
#include <QPageLayout>
#include <QPageSize>
#include <QPointer>
#include <QTableView>
#include <memory>

#include "base/ListRows.h"
#include "listview/ListViewState.h"
#include "profiles/ProfileList.h"

namespace quorrel {

class CTessupDoc;
class PrintCommands;
class ProfileTableModel;
struct PrintServices;

// The main window's client area: a report list with one row per profile. It rebuilds its
// rows from the frame's profile list on request, keeps its own sort column and direction,
// restores the selection by row position, and turns its context menu and double-clicks
// into the frame's commands.
class CTessupView final : public QTableView, public ListRows {
    Q_OBJECT
public:
    explicit CTessupView(CTessupDoc* document, QWidget* parent = nullptr);
    ~CTessupView() override;

    // Column set-up, list styles and the first fill.
    void OnInitialUpdate(const ProfileList& profiles);

    // Shows the list again (read as rows are painted; it must outlive the view or the next
    // refresh), sorts by the view's column and direction, selects a row again and asks the
    // frame to rewrite its title (listRefreshed).
    void RefreshList(const ProfileList& profiles);

    // The sort hook of a header click: the same column reverses, another starts ascending.
    void sortHook(int column);

    CTessupDoc* document() const { return document_; }
    const ListViewState& state() const { return state_; }

    // ListRows
    int rowCount() const override;
    int firstSelectedRow() const override;
    std::string cellText(int row, int column) const override;
    int listPosition(int row) const override;

    // The context menu last shown (for tests); null when none was shown.
    QMenu* contextMenu() const { return contextMenu_; }

    // Shows the context menu at a global position when a row is selected; returns whether
    // it was shown.
    bool showContextMenu(const QPoint& globalPosition);

    // Printing the rows (PrintCommands does the work): the print command (ID_FILE_PRINT),
    // the print preview (ID_FILE_PRINT_PREVIEW) and printing through the preview's hooks
    // without a dialog (ID_FILE_PRINT_DIRECT). The frame passes its prompter and its
    // ShowMenuBar in the services.
    void setPrintServices(PrintServices services);
    void PrintProfileList();
    void OnFilePrintPreview();
    void OnFilePrintDirect();

    // The running print job or preview: its page count, and the printer's paper size and
    // orientation while A4 portrait is forced.
    int totalPages = 0;
    QPageSize savedPaperSize;
    QPageLayout::Orientation savedOrientation = QPageLayout::Portrait;

signals:
    // A command of the context menu or a double-click (apply).
    void commandRequested(int command);
    // The end of every RefreshList: the frame rewrites its title.
    void listRefreshed();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // Sorts by the view's own column and direction again; neither changes.
    void resort();
    void selectRow(int row);
    void showSortArrow();

    CTessupDoc* document_;
    ProfileTableModel* model_;
    ListViewState state_;
    QPointer<QMenu> contextMenu_;
    std::unique_ptr<PrintCommands> printing_;
};

}  // namespace quorrel
