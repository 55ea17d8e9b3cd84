#pragma once

#include <string>

#include "platform/HelpViewer.h"

namespace quorrel::platform {

// HTML Help: HtmlHelpA of hhctrl.ocx, loaded on first use. The help window is owned by the
// desktop, so it outlives the program's main window. When the library or its function is
// missing nothing happens at all; a missing book is reported by HTML Help itself.
class Win32HelpViewer final : public HelpViewer {
public:
    // `library` names the DLL with HtmlHelpA; tests name one that does not exist.
    explicit Win32HelpViewer(std::string library = "hhctrl.ocx");

    bool displayTopic(const std::string& location) override;

    // Whether HtmlHelpA was found (after the first request).
    bool available() const { return htmlHelp_ != nullptr; }
    int loadAttempts() const { return loadAttempts_; }

private:
    std::string library_;
    bool loaded_ = false;
    int loadAttempts_ = 0;
    // HtmlHelpA; the library stays loaded for the rest of the process, as its window may.
    void (*htmlHelp_)() = nullptr;
};

}  // namespace quorrel::platform
