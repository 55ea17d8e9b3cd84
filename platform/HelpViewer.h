#pragma once

#include <string>

namespace quorrel::platform {

// The system's viewer of compiled help books ("QuorrelHelp.chm"). Its window belongs to
// no window of the program, so it stays open when the main window closes. A book or page
// that cannot be opened is reported by the viewer itself; the caller shows nothing.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;

    // Shows one page of a help book. `location` is "<book path>::<page>", for example
    // "/opt/quorrel/QuorrelHelp.chm::/main/Main.htm"; without "::" the book's main page
    // is shown. The result is only informative: true when the page is on the screen.
    virtual bool displayTopic(const std::string& location) = 0;
};

}  // namespace quorrel::platform
