#pragma once

// Texts of the application shell and of the profile store. Every text the user sees is
// kept in resources/, one header per subsystem, exactly as the program shows it.

namespace quorrel::texts {

inline constexpr const char* kProductName = "Quorrel";
inline constexpr const char* kAppTitle = "Quorrel v2.1.1";
inline constexpr const char* kMutexName = "Quorrel";

// Data file of the profile store, in the install folder.
inline constexpr const char* kDataFileName = "quorrel.dat";
inline constexpr const char* kBackupFileName = "quorrel.bak";

// Our own wording: a failed save is never silent.
inline constexpr const char* kSaveFailedFormat = "설정 파일 \"%s\"을(를) 저장하지 못했습니다.\n%s";
inline constexpr const char* kSaveFailedOnCloseQuestion =
    "\n\n저장하지 않은 변경 내용은 사라집니다. 그래도 종료하시겠습니까?\n"
    "[아니오]를 누르면 창이 열린 채로 남아 다시 저장할 수 있습니다.";

}  // namespace quorrel::texts
