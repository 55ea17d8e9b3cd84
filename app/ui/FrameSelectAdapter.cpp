// The main frame's adapter command.
#include "adapters/ui/CAdapterSelectDlg.h"
#include "app/ui/CMainFrame.h"
#include "listview/ui/CTessupView.h"

namespace quorrel {

void CMainFrame::OnSelectAdapter() {
    // OK has made the dialog's entry the inventory's choice and remembered it.
    if (adapterSelectDlg_->DoModal(services_.prompter) == CAdapterSelectDlg::IDOK) {
        adapter_.chosen(store_.profileList);
        watchNetwork();
    }
    // The refill ends by rewriting the title with the adapter now chosen.
    if (view_ != nullptr) {
        view_->RefreshList(store_.profileList);
    }
}

}  // namespace quorrel
