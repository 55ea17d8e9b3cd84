// The main frame's commands on profiles: add, copy, edit, delete, the adapter status view,
// and the enabling of the commands that need a selected row.
#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QMenuBar>
#include <QToolBar>

#include "adapters/CAdapterStatusDlg.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/ListRows.h"
#include "app/ProfileCommandRules.h"
#include "app/Prompter.h"
#include "listview/CProfileEditDlg.h"
#include "listview/CTessupView.h"
#include "resources/AppTexts.h"

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
        list->RefreshList(profileList);
    }
    OnUpdateNeedsSelection();
}

void CMainFrame::OnAddProfile() {
    CProfileEditDlg dialog(profileList, services_.codec, services_.prompter);
    if (dialog.DoModal(services_.prompter) == 1 && dialog.profile) {
        profilesModified = 1;
        profileList.append(*dialog.profile);
        RefreshList();
        saveProfiles();
    }
}

void CMainFrame::OnCopyProfile() {
    const IpProfile* source = GetSelectedProfile();
    if (source == nullptr) {
        return;
    }
    const IpProfile copy = makeProfileCopy(*source, profileList);
    profileList.append(copy);
    RefreshList();
    saveProfiles();
}

void CMainFrame::OnEditProfile() {
    IpProfile* listed = GetSelectedProfile();
    if (listed == nullptr) {
        return;
    }
    const bool wasApplied = listed->name == lastAppliedName;

    CProfileEditDlg dialog(profileList, services_.codec, services_.prompter);
    dialog.editMode = true;
    dialog.profile = makeEditCopy(*listed);
    dialog.originalEntry = listed;
    if (dialog.DoModal(services_.prompter) == 1 && dialog.profile) {
        const EditOutcome outcome = decideEdit(*listed, *dialog.profile, wasApplied);
        if (outcome.changed) {
            profilesModified = 1;
        }
        // Clear what the dialog left on the bars.
        toolBar_->update();
        menuBar()->update();

        if (outcome.changed) {
            takeOverEdit(*listed, *dialog.profile);
            if (outcome.reapply || outcome.renameOnly) {
                // The profile keeps counting as the one applied last under its new name.
                lastAppliedName = listed->name;
            }
            // The rows show the edited profile before it is applied again, so that the
            // apply confirms and sets the new values, under the new name.
            RefreshList();
            if (outcome.reapply) {
                if (applyProfileNamed) {
                    applyProfileNamed(listed->name);
                } else {
                    applyProfile(listed);
                }
            }
        }
    }
    if (profilesModified == 1) {
        saveProfiles();
    }
}

void CMainFrame::OnDeleteProfile() {
    const IpProfile* found = GetSelectedProfile();
    if (found == nullptr) {
        return;
    }
    if (found->isCurrent == 1) {
        services_.prompter.show(Message{texts::kDeleteInUseText, texts::kDeleteInUseCaption,
                                        MessageIcon::Stop, MessageButtons::Ok});
        return;
    }
    const MessageResult answer =
        services_.prompter.show(Message{texts::kDeleteQuestionText, texts::kDeleteQuestionCaption,
                                        MessageIcon::Question, MessageButtons::OkCancel});
    if (answer != MessageResult::Ok) {
        return;
    }
    // This very record: of two equal profiles the one selected goes.
    profileList.remove(found);
    profilesModified = 1;
    if (profilesModified == 1) {
        saveProfiles();
    }
    RefreshList();
}

void CMainFrame::OnShowStatus() {
    CAdapterStatusDlg dialog(services_.prompter);
    dialog.DoModal(services_.prompter);
}

void CMainFrame::OnPrintNotReady() {
    services_.prompter.show(Message{texts::kPrintNotReadyText, texts::kPrintNotReadyCaption,
                                    MessageIcon::Information, MessageButtons::Ok});
}

void CMainFrame::OnDeleteAll() {
    // Nothing sends this command; it is kept so that its number stays taken.
}

}  // namespace quorrel
