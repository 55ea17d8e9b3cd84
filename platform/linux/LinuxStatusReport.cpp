#include "platform/StatusReport.h"

namespace quorrel::platform {

std::unique_ptr<system::OutputCapture> makeStatusReportCapture() {
    return system::makeCommandCapture("ipconfig.exe /all");
}

std::string statusReportUtf8(std::string_view bytes) {
    return std::string(bytes);
}

}  // namespace quorrel::platform
