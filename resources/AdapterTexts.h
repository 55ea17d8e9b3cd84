#pragma once

// Texts of the adapter inventory, exactly as the program shows them.

namespace quorrel::texts {

// The adapter status view.
inline constexpr const char* kStatusCaption = "현황보기";
inline constexpr const char* kStatusHeading = "어댑터 정보";
// The label of the close picture.
inline constexpr const char* kStatusClose = "닫기";
// The command interpreter (or our ipconfig) could not be started (stop icon, OK button).
inline constexpr const char* kStatusStartFailedText =
    "\"cmd.exe\" 파일의 실행에 실패하였습니다.\n파일이 위치한 경로가 환경변수 PATH에 설정되어 "
    "있는지 확인 바랍니다.";
inline constexpr const char* kStatusStartFailedCaption = "Quorrel - 파일 실행 실패";

// The platform reports no adapter at all (information icon, OK button).
inline constexpr const char* kNoAdapterText =
    "설치되어진 랜카드가 없습니다.\n하나이상의 랜카드를 설치 후 다시 실행하여주십시오.";
inline constexpr const char* kNoAdapterCaption = "어댑터 검색 실패";

// An adapter's connection key cannot be opened: the adapter is left out (standard box).
inline constexpr const char* kConnectionKeyOpenFailed =
    "Adapter Local Address 레지스트리 열기 실패";

// An adapter's TCP/IP interface key cannot be opened: the adapter is kept without DNS
// servers (standard box).
inline constexpr const char* kInterfaceKeyOpenFailed = "DNS Server 레지스트리 열기 실패";

}  // namespace quorrel::texts
