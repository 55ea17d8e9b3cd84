#include "tools/linux/SampleFrame.h"

#include <QItemSelectionModel>

namespace quorrel {

CTessupView* showSampleList(CMainFrame& frame, CTessupDoc& document, int selectedRow) {
    auto* view = new CTessupView(&document);
    frame.setClientView(view, view);
    view->OnInitialUpdate(frame.profiles().profileList);
    IpProfile adapter;
    adapter.connectionName = "로컬 영역 연결";
    frame.chosenAdapter().currentSettings = adapter;
    frame.UpdateTitle();
    view->selectionModel()->select(view->model()->index(selectedRow, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return view;
}

}  // namespace quorrel
