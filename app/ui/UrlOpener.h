#pragma once

#include <string>

namespace quorrel {

// Opens a web page in the user's browser. The result is not looked at: a missing browser
// shows nothing.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual void open(const std::string& url) = 0;
};

// QDesktopServices::openUrl.
class DesktopUrlOpener final : public UrlOpener {
public:
    void open(const std::string& url) override;
};

}  // namespace quorrel
