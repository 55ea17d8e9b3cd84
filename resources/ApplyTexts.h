#pragma once

// Texts of the apply engine: the netsh command lines, the messages of the command worker
// and of the apply operation, and what the confirmation shows. Formats fill each "%s" in
// order with the text given, unchanged.

namespace quorrel::texts {

// Command lines of an apply, one adapter and one profile.
inline constexpr const char* kAddressDhcpFormat =
    "netsh.exe interface ip set address \"%s\" source=dhcp";
inline constexpr const char* kAddressStaticFormat =
    "netsh.exe interface ip set address \"%s\" source=static addr=%s mask=%s";
inline constexpr const char* kAddressStaticGatewayFormat =
    "netsh.exe interface ip set address \"%s\" source=static addr=%s mask=%s gateway=%s 1";
inline constexpr const char* kDnsDhcpFormat =
    "netsh.exe interface ip set dns name=\"%s\" source=dhcp";
inline constexpr const char* kDnsStaticFormat =
    "netsh.exe interface ip set dns name=\"%s\" source=static %s primary";
inline constexpr const char* kSecondDnsFormat =
    "netsh.exe interface ip add dns name=\"%s\" addr=%s index=2";

// What the list shows in the address columns of a DHCP profile, and what the confirmation
// shows instead.
inline constexpr const char* kListDhcpText = "- DHCP -";
inline constexpr const char* kConfirmDhcpText = "DHCP";

// The apply operation.
inline constexpr const char* kChooseAdapterFirst = "어댑터를 설정해 주세요";
// An adapter whose name the command lines cannot carry: shown before anything runs
// (exclamation icon, OK button). The format's "%s" is the adapter's name.
inline constexpr const char* kUnusableAdapterNameFormat =
    "어댑터 \"%s\"의 이름에는 큰따옴표(\"), 등호(=) 또는 맨 끝의 역슬래시(\\)가 들어 있어 "
    "이 프로그램으로 설정할 수 없습니다.\n어댑터의 이름을 바꾼 뒤 다시 적용해 주십시오.";
inline constexpr const char* kUnnamedAdapterText =
    "선택한 어댑터의 이름을 알 수 없어 이 프로그램으로 설정할 수 없습니다.\n다른 어댑터를 "
    "선택해 주십시오.";
inline constexpr const char* kUnusableAdapterCaption = "IP 설정 변경 불가";
inline constexpr const char* kApplyDoneText = "IP 설정 변경이 완료되었습니다.";
inline constexpr const char* kApplyDoneCaption = "IP 설정 변경 완료";
inline constexpr const char* kApplyFailedText =
    "IP 설정 변경이 중단되었습니다.\n네트워크 상태가 정상적이지 않을 수 있습니다.\n다시 한번 "
    "설정하여 주시기 바랍니다.";
inline constexpr const char* kApplyFailedCaption = "IP 설정 변경 실패";

// The command worker.
inline constexpr const char* kAddressStartFailedDebug =
    "IP 설정 정보를 적용하는 중에 오류가 발생하였습니다.\n";
inline constexpr const char* kAddressFailed = "IP 설정 정보를 적용하는 중에 오류가 발생하였습니다.";
inline constexpr const char* kDnsFailed = "DNS 설정 정보를 저장하는 중에 오류가 발생하였습니다.";
inline constexpr const char* kWorkerEndedDebug = "쓰레드 종료됨\n";

// The confirmation dialog.
inline constexpr const char* kConfirmCaption = "IP 설정 변경 확인";
inline constexpr const char* kConfirmLine1 = "IP 설정이 아래와 같이 변경됩니다.";
inline constexpr const char* kConfirmLine2 = "변경하시겠습니까?";
inline constexpr const char* kConfirmAdapterLabel = "어댑터명";
inline constexpr const char* kConfirmIpLabel = "IP주소       :";
inline constexpr const char* kConfirmMaskLabel = "서브넷마스크 :";
inline constexpr const char* kConfirmGatewayLabel = "게이트웨이   :";
inline constexpr const char* kConfirmYes = "예";
inline constexpr const char* kConfirmNo = "아니오";

// The progress dialog.
inline constexpr const char* kProgressCaption = "네트워크 설정 변경 중...";
inline constexpr const char* kProgressLine1 = "시스템의 응답을 기다리는 중입니다...";
inline constexpr const char* kProgressLine2 = "이 작업은 5~30초 정도가 소요됩니다.";
inline constexpr const char* kProgressLine3 = "작업을 중단하시려면 \"중단\" 버튼을 눌러주세요.";
inline constexpr const char* kProgressLine4 =
    "중단하게 되면 네트워크가 정상적으로 동작하지 않을 수 있습니다.";
inline constexpr const char* kProgressDone = "완료";
inline constexpr const char* kProgressStop = "중단";

}  // namespace quorrel::texts
