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

// The adapter selection dialog.
inline constexpr const char* kAdapterSelectCaption = "어댑터 선택";
inline constexpr const char* kAdapterListHeading = "어댑터 리스트";
inline constexpr const char* kCurrentSettingsHeading = "현재 설정 현황";
inline constexpr const char* kAdapterSelectHint = "※ 설정을 적용할 어댑터를 선택합니다";
inline constexpr const char* kAutoConnectBox = "선택한 어댑터 자동 접속";

// Captions of the eight detail rows, in the order the rows are shown; the dialog pads each
// to the same width before its colon.
inline constexpr const char* kDetailAdapter = "어댑터";
inline constexpr const char* kDetailMacAddress = "MAC주소";
inline constexpr const char* kDetailIpAddress = "IP주소";
inline constexpr const char* kDetailSubnetMask = "서브넷마스크";
inline constexpr const char* kDetailGateway = "게이트웨이";
inline constexpr const char* kDetailPrimaryDns = "DNS 기본서버";
inline constexpr const char* kDetailSecondaryDns = "DNS 보조서버";
inline constexpr const char* kDetailDhcp = "DHCP";

// The DHCP row's value.
inline constexpr const char* kDhcpOn = "TRUE";
inline constexpr const char* kDhcpOff = "FALSE";

}  // namespace quorrel::texts
