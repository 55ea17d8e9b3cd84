#pragma once

// Texts of the command line (quorrel --list, --apply, --status, --help). Formats fill each
// "%s" in order with the text given, unchanged. What the apply reports at its end is the
// window's own text (ApplyTexts.h), so both say the same.

namespace quorrel::texts {

inline constexpr const char* kCliHelp =
    "사용법: quorrel [--list | --apply 프로필이름 [--adapter 연결이름] [--check | --try 초]\n"
    "                | --status | --where [--adapter 연결이름]\n"
    "                | --export 형식 프로필이름 [--adapter 인터페이스] | --help]\n"
    "\n"
    "옵션 없이 실행하면 창이 열립니다. 아래 옵션을 주면 창 없이(화면이 없어도) 동작합니다.\n"
    "\n"
    "  --list\n"
    "      프로필 목록을 보여 줍니다: 이름, DHCP 또는 IP 주소/서브넷 마스크/게이트웨이, DNS.\n"
    "      '*' 표시는 선택 어댑터가 지금 쓰고 있는 프로필입니다.\n"
    "  --apply 프로필이름 [--adapter 연결이름]\n"
    "      프로필을 어댑터에 적용하고 단계마다 결과를 보여 줍니다. --adapter가 없으면\n"
    "      창에서 마지막으로 고른 어댑터에, 고른 적이 없으면 첫 번째 어댑터에 적용합니다.\n"
    "      이름은 대소문자까지 정확히 같아야 합니다. 공백이 있는 이름은 따옴표로 묶으십시오.\n"
    "  --check (--apply와 함께)\n"
    "      적용한 뒤 연결(링크와 주소, 기본 게이트웨이, 첫 DNS 서버)을 확인합니다.\n"
    "      확인에 실패해도 새 설정은 그대로 둡니다.\n"
    "  --try 초 (--apply와 함께)\n"
    "      적용한 뒤 연결을 확인하고, 확인에 실패하면 바로, 아니면 주어진 초 안에 y를\n"
    "      입력하지 않을 때 이전 설정으로 되돌립니다(n을 입력하면 바로 되돌립니다).\n"
    "      되돌리지 못하면 이전 설정을 \"복원[n]\" 프로필로 프로필 파일에 저장합니다.\n"
    "  --status\n"
    "      각 어댑터의 현재 설정 현황을 보여 줍니다(창의 \"현황\"과 같은 내용).\n"
    "  --where [--adapter 연결이름]\n"
    "      어댑터가 연결된 네트워크(게이트웨이의 MAC 주소, 무선 네트워크 이름)와, 그\n"
    "      네트워크에서 마지막으로 적용한 프로필을 보여 줍니다.\n"
    "  --export 형식 프로필이름 [--adapter 인터페이스]\n"
    "      프로필을 다른 도구의 설정 파일로 표준 출력에 씁니다. 형식은 keyfile\n"
    "      (NetworkManager 연결 파일, nm이라고 써도 됨) 또는 netplan입니다. --adapter가\n"
    "      없으면 마지막으로 고른 어댑터의 이름을 씁니다(이 컴퓨터에 없는 이름도 됩니다).\n"
    "  --help\n"
    "      이 도움말을 보여 줍니다.\n"
    "\n"
    "프로필 폴더와 마지막으로 고른 어댑터는 창과 같은 설정에서 읽습니다. 명령줄은 설정을\n"
    "바꾸지 않고, 프로필 파일은 --try가 되돌리지 못했을 때만 바꾸며, 창이 실행 중이어도\n"
    "함께 쓸 수 있습니다.\n"
    "주소를 바꾸려면 창에서와 같이 관리자 권한이 필요합니다.\n"
    "\n"
    "종료 코드:\n"
    "  0  성공 (--apply: 모든 단계가 성공함)\n"
    "  1  적용에 실패함, 또는 현황을 읽지 못함\n"
    "  2  옵션이 잘못됨\n"
    "  3  그런 이름의 프로필이 없음\n"
    "  4  그 이름의 프로필이 둘 이상이라 어느 것인지 알 수 없음\n"
    "  5  그런 연결 이름의 어댑터가 없음, 또는 그 어댑터를 이 프로그램으로 설정할 수 없음\n"
    "  6  그 연결 이름의 어댑터가 둘 이상이라 어느 것인지 알 수 없음\n"
    "  7  프로필 폴더가 정해지지 않았거나 프로필 파일을 읽을 수 없음\n"
    "  8  --check: 적용은 성공했으나 연결 확인에 실패함\n"
    "  9  --try: 이전 설정으로 되돌림\n"
    "  10 --try: 이전 설정으로 되돌리지 못함\n"
    "  11 --where: 어느 프로필도 쓴 적이 없는 네트워크임\n"
    "  12 --export: 프로필의 주소를 그 형식으로 쓸 수 없음\n";

// Bad options. The first "%s" is what was wrong.
inline constexpr const char* kCliUnknownOptionFormat = "알 수 없는 옵션입니다: %s";
inline constexpr const char* kCliMissingValueFormat = "%s 옵션 뒤에 값이 있어야 합니다.";
inline constexpr const char* kCliTwoCommands =
    "--list, --apply, --status, --where, --export, --help 가운데 하나만 줄 수 있습니다.";
inline constexpr const char* kCliAdapterWithoutApply =
    "--adapter는 --apply, --where, --export와 함께만 씁니다.";
inline constexpr const char* kCliTrialWithoutApply = "--check와 --try는 --apply와 함께만 씁니다.";
inline constexpr const char* kCliBadSecondsFormat =
    "--try 뒤에는 1에서 3600 사이의 초를 주어야 합니다: %s";
inline constexpr const char* kCliTwiceFormat = "%s 옵션을 두 번 주었습니다.";
inline constexpr const char* kCliSeeHelp = "도움말: quorrel --help";

// The profile folder and the data file.
inline constexpr const char* kCliNoProfileFolder =
    "프로필 폴더가 아직 정해지지 않았습니다.\n"
    "창을 한 번 열어 프로필 폴더를 고른 뒤 다시 실행하십시오.";
inline constexpr const char* kCliUnreadableFileFormat =
    "프로필 파일 \"%s\"을(를) 읽지 못했습니다.\n%s";

// Choosing the profile and the adapter.
inline constexpr const char* kCliUnknownProfileFormat =
    "\"%s\" 프로필이 없습니다. 프로필 목록은 quorrel --list로 볼 수 있습니다.";
inline constexpr const char* kCliAmbiguousProfileFormat =
    "\"%s\" 프로필이 %s개 있어 어느 것을 적용할지 알 수 없습니다.\n"
    "창에서 이름을 하나만 남도록 바꾼 뒤 다시 실행하십시오.";
inline constexpr const char* kCliNoAdapters = "이 컴퓨터에서 네트워크 어댑터를 찾지 못했습니다.";
inline constexpr const char* kCliUnknownAdapterFormat =
    "연결 이름이 \"%s\"인 어댑터가 없습니다. 있는 어댑터: %s";
inline constexpr const char* kCliRememberedAdapterGoneFormat =
    "창에서 마지막으로 고른 어댑터 \"%s\"이(가) 지금 없습니다. 있는 어댑터: %s\n"
    "--adapter 연결이름으로 어댑터를 정해 주십시오.";
inline constexpr const char* kCliAmbiguousAdapterFormat =
    "연결 이름이 \"%s\"인 어댑터가 %s개 있어 어느 것에 적용할지 알 수 없습니다.";

// The list.
inline constexpr const char* kCliListHeadingFormat = "프로필 %s개 (%s)";
inline constexpr const char* kCliListEmptyFormat = "프로필이 없습니다 (%s).";
inline constexpr const char* kCliColumnName = "이름";
inline constexpr const char* kCliColumnIp = "IP 주소";
inline constexpr const char* kCliColumnMask = "서브넷 마스크";
inline constexpr const char* kCliColumnGateway = "게이트웨이";
inline constexpr const char* kCliColumnDns = "DNS";
inline constexpr const char* kCliDhcp = "DHCP";
inline constexpr const char* kCliAutomaticDns = "자동";
inline constexpr const char* kCliNone = "-";
inline constexpr const char* kCliInUseMark = "*";
inline constexpr const char* kCliInUseNoteFormat = "* 어댑터 \"%s\"이(가) 지금 쓰고 있는 프로필";

// Where the adapter is (--where).
inline constexpr const char* kCliWhereAdapterFormat = "어댑터 \"%s\"이(가) 연결된 네트워크:";
inline constexpr const char* kCliWhereGatewayFormat = "  게이트웨이 MAC 주소: %s";
inline constexpr const char* kCliWhereWifiFormat = "  무선 네트워크 이름: %s";
inline constexpr const char* kCliWhereNothingSeen =
    "  알아볼 수 없습니다(기본 게이트웨이가 없거나 응답하지 않습니다).";
inline constexpr const char* kCliWhereMatchFormat = "이 네트워크에서 쓰는 프로필: \"%s\"";
inline constexpr const char* kCliWhereUnknown =
    "이 네트워크에서 쓴 프로필이 없습니다. 창에서 프로필을 적용하면 이 네트워크를 기억합니다.";

// Writing a profile for another tool (--export).
inline constexpr const char* kCliExportNeedsTwo =
    "--export 뒤에는 형식과 프로필 이름이 있어야 합니다.";
inline constexpr const char* kCliUnknownFormatFormat =
    "알 수 없는 형식입니다: %s (keyfile, nm, netplan 가운데 하나)";
inline constexpr const char* kCliCannotExportFormat =
    "\"%s\" 프로필의 주소나 서브넷 마스크가 올바르지 않아 파일로 쓸 수 없습니다.";

// The apply, step by step.
inline constexpr const char* kCliApplyingFormat = "프로필 \"%s\"을(를) 어댑터 \"%s\"에 적용합니다.";
inline constexpr const char* kCliStepFormat = "[%s/%s] %s";
inline constexpr const char* kCliStepAddressDhcp = "IP 주소: DHCP로 자동으로 받기";
inline constexpr const char* kCliStepAddressFormat = "IP 주소: %s, 서브넷 마스크 %s";
inline constexpr const char* kCliStepAddressGatewayFormat =
    "IP 주소: %s, 서브넷 마스크 %s, 게이트웨이 %s";
inline constexpr const char* kCliStepDnsDhcp = "DNS 서버: DHCP로 자동으로 받기";
inline constexpr const char* kCliStepDnsFormat = "기본 DNS 서버: %s";
inline constexpr const char* kCliStepNoDns = "DNS 서버: 없음";
inline constexpr const char* kCliStepSecondDnsFormat = "보조 DNS 서버: %s";
inline constexpr const char* kCliStepOk = "      -> 성공";
inline constexpr const char* kCliStepExitFormat = "      -> 실패 (종료 코드 %s)";
inline constexpr const char* kCliStepNotStartedFormat = "      -> 실행하지 못함: %s";
inline constexpr const char* kCliStepWaitFailedFormat = "      -> 끝을 기다리지 못함: %s";
inline constexpr const char* kCliTimedOutFormat =
    "%s초 안에 끝나지 않아 기다리기를 멈추었습니다. 실행 중인 단계는 스스로 끝납니다.";
inline constexpr const char* kCliNowFormat = "어댑터 \"%s\"의 현재 설정: %s";

// The connection check after --apply (--check, --try). The lines of the checks and the
// countdown are the window's own (SafetyTexts.h).
inline constexpr const char* kCliTryQuestion =
    "새 설정을 유지하려면 y, 바로 되돌리려면 n을 입력하고 Enter를 누르십시오.";
inline constexpr const char* kCliKeptText = "새 설정을 유지합니다.";
inline constexpr const char* kCliChecksFailedKept =
    "연결 확인에 실패했습니다. 새 설정은 그대로 두었습니다.";
inline constexpr const char* kCliChecksFailedPutBack = "연결 확인에 실패했습니다.";
inline constexpr const char* kCliNoAnswerPutBack = "시간 안에 답이 없었습니다.";
inline constexpr const char* kCliPuttingBackText = "이전 설정으로 되돌립니다.";
inline constexpr const char* kCliRestorePointMissingFormat =
    "어댑터 \"%s\"의 현재 설정을 읽지 못해 되돌릴 수 없으므로 적용하지 않았습니다.";
inline constexpr const char* kCliPutBackNotKeptFormat =
    "이전 설정으로 되돌리지 못했고, 프로필 파일에도 저장하지 못했습니다: %s\n"
    "이전 설정은 다음과 같습니다.";

// The status report.
inline constexpr const char* kCliStatusFailedFormat = "어댑터 현황을 읽지 못했습니다: %s";
inline constexpr const char* kCliStatusIncompleteFormat =
    "어댑터 현황을 %s초 안에 다 읽지 못했습니다. 읽은 데까지만 보여 줍니다.";

}  // namespace quorrel::texts
