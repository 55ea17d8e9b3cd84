#pragma once

#include "app/ui/CMainFrame.h"
#include "listview/CTessupDoc.h"
#include "listview/ui/CTessupView.h"

namespace quorrel {

// Puts the frame's sample profiles into a list view of its own, names the adapter in the
// title as a user's machine would, and selects `selectedRow`, as the pictures show it.
// `document` must outlive the frame's view, which is returned.
CTessupView* showSampleList(CMainFrame& frame, CTessupDoc& document, int selectedRow);

}  // namespace quorrel
