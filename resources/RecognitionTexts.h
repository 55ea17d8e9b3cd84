#pragma once

// Texts of the program's knowledge of the network it is on: the offer of the profile used
// there before, the tools menu's 자동 전환 and 트레이 아이콘 표시 with where they are
// remembered, and the tray icon's menu, tooltip and messages. Formats fill each "%s" in
// order with the text given, unchanged.

namespace quorrel::texts {

// The adapter came up on a network a profile was used on: the offer, as a question.
inline constexpr const char* kRecognisedTitle = "네트워크 인식";
inline constexpr const char* kRecognisedOfferFormat =
    "'%s' 프로필을 쓰던 네트워크에 연결되었습니다.\n어댑터 %s에 '%s' 프로필을 적용할까요?";
// The same network while 자동 전환 is on: the tray message before the apply.
inline constexpr const char* kRecognisedSwitchingFormat =
    "'%s' 프로필을 쓰던 네트워크입니다. 프로필을 적용하고 연결을 확인합니다.";

// The checkable entries of the tools menu, their prompts, and their REG_DWORD values
// beside the program's other settings (1 on, anything else off).
inline constexpr const char* kMenuAutoSwitch = "자동 전환";
inline constexpr const char* kPromptAutoSwitch =
    "알고 있는 네트워크에 연결되면 그 네트워크에서 쓰던 프로필을 묻지 않고 적용합니다";
inline constexpr const char* kAutoSwitchValue = "AutoSwitch";
inline constexpr const char* kMenuShowTray = "트레이 아이콘 표시";
inline constexpr const char* kPromptShowTray =
    "알림 영역에 아이콘을 두고, 그 메뉴에서 프로필을 바로 적용합니다";
inline constexpr const char* kShowTrayValue = "ShowTrayIcon";

// The tray icon: its menu (the chosen adapter first, then the profiles, the one in use
// checked), its tooltip and the messages of an apply.
inline constexpr const char* kTrayAdapterFormat = "어댑터: %s";
inline constexpr const char* kTrayNoAdapter = "선택된 어댑터가 없습니다";
inline constexpr const char* kTrayNoProfiles = "프로필이 없습니다";
inline constexpr const char* kTrayOpenWindow = "창 열기";
inline constexpr const char* kTrayExit = "끝내기";
// The tooltip: the profile in use, then the adapter with its address.
inline constexpr const char* kTrayTooltipFormat = "Quorrel - %s\n%s: %s";
inline constexpr const char* kTrayTooltipWithoutAdapterFormat = "Quorrel - %s\n%s";
inline constexpr const char* kTrayNoProfileInUse = "사용 중인 프로필 없음";
inline constexpr const char* kTrayNoAddress = "주소 없음";
inline constexpr const char* kTrayDhcpAddressFormat = "%s (DHCP)";
inline constexpr const char* kTrayAppliedFormat = "'%s' 프로필을 적용했습니다.";
inline constexpr const char* kTrayApplyFailedFormat = "'%s' 프로필을 적용하지 못했습니다.";

}  // namespace quorrel::texts
