#include "app/ui/PrintWiring.h"

#include <QPointer>

#include "app/ui/CMainFrame.h"
#include "base/CommandIds.h"
#include "listview/ui/CTessupView.h"

namespace quorrel {

void wirePrintCommands(CMainFrame& frame, CTessupView& view, PrintServices services) {
    const QPointer<CMainFrame> owner(&frame);
    services.prompter = &frame.prompter();
    services.showMenuBar = [owner](int flag) {
        if (owner) {
            owner->ShowMenuBar(flag);
        }
    };
    view.setPrintServices(std::move(services));

    const QPointer<CTessupView> target(&view);
    frame.setCommandHandler(ID_FILE_PRINT, [target] {
        if (target) {
            target->PrintProfileList();
        }
    });
    frame.setCommandHandler(ID_FILE_PRINT_PREVIEW, [target] {
        if (target) {
            target->OnFilePrintPreview();
        }
    });
    frame.setCommandHandler(ID_FILE_PRINT_DIRECT, [target] {
        if (target) {
            target->OnFilePrintDirect();
        }
    });
}

}  // namespace quorrel
