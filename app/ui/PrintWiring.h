#pragma once

#include "listview/ui/PrintCommands.h"

namespace quorrel {

class CMainFrame;
class CTessupView;

// Puts the list view's print routines behind the frame's print commands: ID_FILE_PRINT
// (menu, toolbar, Ctrl+P and the preview's print button) the print command,
// ID_FILE_PRINT_PREVIEW the print preview, ID_FILE_PRINT_DIRECT printing through the print
// hooks. The view prints with the frame's
// prompter and hides the frame's menu bar while the preview is open. A printer list or a
// printer given in `services` replaces the system's. Once the view is gone the commands do
// nothing.
void wirePrintCommands(CMainFrame& frame, CTessupView& view, PrintServices services = {});

}  // namespace quorrel
