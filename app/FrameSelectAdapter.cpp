// The main frame's adapter command (32778).
#include "adapters/CAdapterSelectDlg.h"
#include "app/CMainFrame.h"
#include "app/ProfileMatching.h"
#include "app/ProfileNames.h"
#include "listview/CTessupView.h"

namespace quorrel {

void CMainFrame::OnSelectAdapter() {
    if (adapterSelectDlg->DoModal(services_.prompter) == CAdapterSelectDlg::IDOK) {
        // The dialog has made its entry the inventory's choice and remembered it.
        const AdapterInventory& inventory = adapterSelectDlg->inventory();
        currentSettings.reset();
        profileList.clearCurrentMarks();
        adapterList = inventory.empty() ? nullptr : &inventory.records().front();
        currentSettings = BuildCurrentSettings(inventory);
        // A configuration that no profile describes is taken over as a new profile, which
        // then carries the mark. Without any adapter there is nothing to take over.
        if (MarkCurrentProfile(profileList, currentSettings) == 0 && currentSettings) {
            currentSettings->name = NextFreeProfileName(profileList);
            profileList.append(*currentSettings);
            MarkCurrentProfile(profileList, currentSettings);
        }
    }
    // The refill ends by rewriting the title with the adapter now chosen.
    if (view_ != nullptr) {
        view_->RefreshList(profileList);
    }
}

}  // namespace quorrel
