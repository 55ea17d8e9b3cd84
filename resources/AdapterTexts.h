#pragma once

// Texts of the adapter inventory, exactly as the program shows them.

namespace quorrel::texts {

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
