#pragma once

#include <memory>

#include "platform/HelpViewer.h"

namespace quorrel {

class ChmHelpWindow;

// The help viewer of the Linux build: one ChmHelpWindow, made on first use and shown again
// (raised) by every later request. The window has no parent, so closing the main window
// leaves it open; it goes with the viewer.
class ChmHelpViewer final : public platform::HelpViewer {
public:
    ChmHelpViewer();
    ~ChmHelpViewer() override;

    bool displayTopic(const std::string& location) override;

    // The window, once a topic has been asked for.
    ChmHelpWindow* window() const { return window_.get(); }

private:
    std::unique_ptr<ChmHelpWindow> window_;
};

}  // namespace quorrel
