#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "system/OutputCapture.h"

namespace quorrel::platform {

// The adapter report of the status view: "ipconfig.exe /all" through the command
// interpreter of the system folder on Windows, our ipconfig program on Linux.
std::unique_ptr<system::OutputCapture> makeStatusReportCapture();

// The report's bytes as UTF-8 text: Windows writes it in the system code page (CP949),
// our ipconfig in UTF-8. Line ends are left as they are.
std::string statusReportUtf8(std::string_view bytes);

}  // namespace quorrel::platform
