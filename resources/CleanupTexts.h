#pragma once

// Texts of the uninstall-cleanup program.

namespace quorrel::texts {

// Printed on standard output before the Tessup folder is removed: two lines.
inline constexpr const char* kCleanupMessage =
    "Tessup 설치 제거를 완료합니다.\n"
    "시스템 사양 및 사용 상황에 따라 몇 분정도 시간이 걸릴 수 있습니다.\n";

}  // namespace quorrel::texts
