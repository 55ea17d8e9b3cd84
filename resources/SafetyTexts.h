#pragma once

// Texts of the safety net around an apply: the menu entry that turns it on, the lines of
// the connection check, the question with its countdown, and the put-back of the previous
// settings. Formats fill each "%s" in order with the text given, unchanged.

namespace quorrel::texts {

// The checkable entry at the end of the tools menu, its prompt, and where it is remembered
// (a REG_DWORD beside the program's other settings: 1 on, anything else off).
inline constexpr const char* kMenuCheckAfterApply = "적용 후 연결 확인";
inline constexpr const char* kPromptCheckAfterApply =
    "설정을 적용한 뒤 연결을 확인하고, 확인하지 않으면 이전 설정으로 되돌립니다";
inline constexpr const char* kCheckAfterApplyValue = "CheckAfterApply";

// One line per check, each starting with its verdict.
inline constexpr const char* kCheckRunningMark = "[확인 중] ";
inline constexpr const char* kCheckPassedMark = "[정상] ";
inline constexpr const char* kCheckFailedMark = "[실패] ";
inline constexpr const char* kCheckSkippedMark = "[생략] ";

// The link: the adapter is there, switched on with a carrier, and has the wanted address
// (under DHCP, any address).
inline constexpr const char* kLinkRunningFormat = "연결: %s 확인 중...";
inline constexpr const char* kLinkPassedFormat = "연결: %s 연결됨, 주소 %s";
inline constexpr const char* kLinkMissingFormat = "연결: 어댑터 %s을(를) 찾을 수 없습니다";
inline constexpr const char* kLinkDownFormat = "연결: %s의 링크가 끊겨 있습니다";
inline constexpr const char* kLinkWithoutAddressFormat = "연결: %s에 주소 %s이(가) 없습니다";
inline constexpr const char* kLinkWithoutLeaseFormat = "연결: %s이(가) 주소를 받지 못했습니다";
inline constexpr const char* kLinkUnreadFormat = "연결: %s의 상태를 읽지 못했습니다";

// The default gateway. The answer's "%s" are the way it answered (ARP or ICMP) and the
// time it took; "응답 없음" names the time waited.
inline constexpr const char* kGatewayWaitingText = "게이트웨이: 연결 확인을 기다리는 중...";
inline constexpr const char* kGatewayRunningFormat = "게이트웨이 %s: 확인 중...";
inline constexpr const char* kGatewayAnsweredFormat = "게이트웨이 %s: 응답함 (%s, %s)";
inline constexpr const char* kGatewayNoAnswerFormat = "게이트웨이 %s: 응답 없음 (%s 기다림)";
inline constexpr const char* kGatewayUnknownFormat = "게이트웨이 %s: 확인할 수 없습니다";
inline constexpr const char* kGatewayNoneText = "게이트웨이: 없어서 확인하지 않았습니다";

// The first DNS server: a question of our own; any reply counts.
inline constexpr const char* kDnsWaitingText = "DNS 서버: 연결 확인을 기다리는 중...";
inline constexpr const char* kDnsRunningFormat = "DNS 서버 %s: 확인 중...";
inline constexpr const char* kDnsAnsweredFormat = "DNS 서버 %s: 응답함 (%s)";
inline constexpr const char* kDnsNoAnswerFormat = "DNS 서버 %s: 응답 없음 (%s 기다림)";
inline constexpr const char* kDnsRefusedFormat = "DNS 서버 %s: DNS 질의를 받지 않습니다";
inline constexpr const char* kDnsUnknownFormat = "DNS 서버 %s: 확인할 수 없습니다";
inline constexpr const char* kDnsNoneText = "DNS 서버: 없어서 확인하지 않았습니다";

// Times in the lines: "35ms" below a second, "1.8초" from a second on.
inline constexpr const char* kMillisecondsFormat = "%sms";
inline constexpr const char* kSecondsFormat = "%s초";

// The dialog of the check.
inline constexpr const char* kCheckCaption = "적용 후 연결 확인";
inline constexpr const char* kCheckRunningText = "새 설정으로 연결되는지 확인하는 중입니다...";
inline constexpr const char* kCheckPassedText = "새 설정으로 연결이 정상입니다.";
inline constexpr const char* kCheckFailedText =
    "새 설정으로는 연결에 문제가 있습니다.\n이전 설정으로 되돌리시겠습니까?";
// The countdown; "%s" is the number of seconds left.
inline constexpr const char* kCountdownFormat =
    "%s초 안에 확인하지 않으면 이전 설정으로 돌아갑니다";
inline constexpr const char* kKeepButton = "새 설정 유지";
inline constexpr const char* kPutBackButton = "이전 설정으로";
inline constexpr const char* kYesButton = "예";
inline constexpr const char* kNoButton = "아니오";

// Putting the previous settings back. The failure's "%s" is the name of the profile that
// keeps them.
inline constexpr const char* kPutBackDoneText = "이전 설정으로 되돌렸습니다.";
inline constexpr const char* kPutBackDoneCaption = "IP 설정 복원 완료";
inline constexpr const char* kPutBackFailedFormat =
    "이전 설정으로 되돌리지 못했습니다.\n네트워크 상태가 정상적이지 않을 수 있습니다.\n"
    "이전 설정은 \"%s\" 항목으로 저장해 두었으니, 그 항목을 적용해 보십시오.";
inline constexpr const char* kPutBackFailedCaption = "IP 설정 복원 실패";
// Names of the profiles that keep a configuration a put-back could not bring back.
inline constexpr const char* kRestoreProfileNameFormat = "복원[%d]";

}  // namespace quorrel::texts
