// The main frame's commands on profiles: add, copy, edit, delete, the adapter status view,
// and the enabling of the commands that need a selected row.
#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QMenuBar>
#include <QToolBar>

#include "adapters/ui/CAdapterStatusDlg.h"
#include "app/ProfileCommandRules.h"
#include "app/ui/CMainFrame.h"
#include "base/CommandIds.h"
#include "base/ListRows.h"
#include "base/ui/Prompter.h"
#include "listview/ui/CProfileEditDlg.h"
#include "listview/ui/CTessupView.h"

namespace quorrel {

void CMainFrame::installProfileCommands() {
    handlers_[ID_PROFILE_ADD] = [this] { OnAddProfile(); };
    handlers_[ID_PROFILE_COPY] = [this] { OnCopyProfile(); };
    handlers_[ID_POPUP_COPY] = [this] { OnCopyProfile(); };
    handlers_[ID_PROFILE_EDIT] = [this] { OnEditProfile(); };
    handlers_[ID_POPUP_EDIT] = [this] { OnEditProfile(); };
    handlers_[ID_PROFILE_DELETE] = [this] { OnDeleteProfile(); };
    handlers_[ID_POPUP_DELETE] = [this] { OnDeleteProfile(); };
    handlers_[ID_ADAPTER_STATUS] = [this] { OnShowStatus(); };
    handlers_[ID_PROFILE_DELETE_ALL] = [this] { OnDeleteAll(); };
    // Printing belongs to the list view; only while none has taken the command does the
    // frame answer it.
    if (!handlers_.count(ID_FILE_PRINT)) {
        handlers_[ID_FILE_PRINT] = [this] { OnPrintNotReady(); };
    }
    OnUpdateNeedsSelection();
}

void CMainFrame::watchListSelection(QWidget* view) {
    if (auto* items = qobject_cast<QAbstractItemView*>(view)) {
        if (QItemSelectionModel* selection = items->selectionModel()) {
            connect(selection, &QItemSelectionModel::selectionChanged, this,
                    [this] { OnUpdateNeedsSelection(); });
        }
    }
    if (auto* list = qobject_cast<CTessupView*>(view)) {
        connect(list, &CTessupView::listRefreshed, this, [this] { OnUpdateNeedsSelection(); });
    }
    OnUpdateNeedsSelection();
}

void CMainFrame::OnUpdateNeedsSelection() {
    const bool selected = rows_ != nullptr && rows_->firstSelectedRow() >= 0;
    for (const int command :
         {ID_PROFILE_COPY, ID_PROFILE_EDIT, ID_PROFILE_DELETE, ID_PROFILE_APPLY}) {
        setCommandEnabled(command, selected);
    }
}

void CMainFrame::RefreshList() {
    if (auto* list = qobject_cast<CTessupView*>(centralWidget())) {
        list->RefreshList(store_.profileList);
    }
    OnUpdateNeedsSelection();
}

void CMainFrame::OnAddProfile() {
    CProfileEditDlg dialog(store_.profileList, services_.codec, services_.prompter);
    if (dialog.DoModal(services_.prompter) == CProfileEditDlg::IDOK && dialog.profile) {
        profileCommands_.addProfile(*dialog.profile);
        RefreshList();
        store_.saveProfiles();
    }
}

void CMainFrame::OnCopyProfile() {
    if (profileCommands_.copySelected(rows_)) {
        RefreshList();
        store_.saveProfiles();
    }
}

void CMainFrame::OnEditProfile() {
    IpProfile* listed = GetSelectedProfile();
    if (listed == nullptr) {
        return;
    }
    CProfileEditDlg dialog(store_.profileList, services_.codec, services_.prompter);
    dialog.editMode = true;
    dialog.profile = makeEditCopy(*listed);
    dialog.originalEntry = listed;
    if (dialog.DoModal(services_.prompter) == CProfileEditDlg::IDOK && dialog.profile) {
        const EditOutcome outcome = profileCommands_.takeEdit(*listed, *dialog.profile);
        // Clear what the dialog left on the bars.
        toolBar_->update();
        menuBar()->update();
        if (outcome.changed) {
            // The rows show the edited profile before it is applied again, so that the
            // apply confirms and sets the new values, under the new name.
            RefreshList();
            if (outcome.reapply) {
                // The record edited, whatever other profile shares its name.
                applyProfile(listed);
            }
        }
    }
    store_.saveIfModified();
}

void CMainFrame::OnDeleteProfile() {
    if (profileCommands_.deleteSelected(rows_)) {
        RefreshList();
    }
}

void CMainFrame::OnShowStatus() {
    CAdapterStatusDlg dialog(services_.prompter);
    dialog.DoModal(services_.prompter);
}

void CMainFrame::OnPrintNotReady() {
    profileCommands_.printNotReady();
}

void CMainFrame::OnDeleteAll() {
    // Nothing sends this command; it is kept so that its number stays taken.
}

}  // namespace quorrel
