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
// The networks the profiles were used on, beside the data file.
inline constexpr const char* kNetworkFileName = "quorrel.net";

// Our own wording: a failed save is never silent.
inline constexpr const char* kSaveFailedFormat = "설정 파일 \"%s\"을(를) 저장하지 못했습니다.\n%s";
inline constexpr const char* kSaveFailedOnCloseQuestion =
    "\n\n저장하지 않은 변경 내용은 사라집니다. 그래도 종료하시겠습니까?\n"
    "[아니오]를 누르면 창이 열린 채로 남아 다시 저장할 수 있습니다.";
// The answers of a yes/no box, as our own texts name them ("[아니오]를 누르면...", and the
// confirmation dialog's buttons); Qt's Korean catalogue says "아니요".
inline constexpr const char* kMessageBoxYes = "예";
inline constexpr const char* kMessageBoxNo = "아니오";
// Our own wording: a data file that is there but cannot be read is never saved over.
inline constexpr const char* kLoadFailedFormat =
    "설정 파일 \"%s\"을(를) 읽지 못했습니다.\n%s\n\n"
    "이 파일을 덮어쓰지 않도록, 이번 실행에서 바꾼 설정은 저장하지 않습니다.";

// Start-up refusals.
inline constexpr const char* kAlreadyRunning = "이미 실행되어 있습니다.";
inline constexpr const char* kNoAdapter =
    "현재 시스템에 설치된 어댑터가 없습니다.\n\n하나 이상의 네트워크 어댑터를 설치한 후\n"
    "Quorrel를 실행하여 주십시오.";

// Main window.
inline constexpr const char* kTitleFormat = "%s  [선택 어댑터 : %s]";
inline constexpr const char* kToolBarTitle = "Quorrel ToolBar";
inline constexpr const char* kPoweredBy = "Powered by Varnok";
inline constexpr const char* kIdlePrompt = "준비";

// Menu bar: menu titles.
inline constexpr const char* kMenuFile = "파일(&F)";
inline constexpr const char* kMenuTools = "도구(&T)";
inline constexpr const char* kMenuEdit = "편집(&E)";
inline constexpr const char* kMenuView = "보기(&V)";
inline constexpr const char* kMenuHelp = "도움말(&H)";

// Menu bar: entries ("\t" separates the shortcut text).
inline constexpr const char* kMenuPrint = "인쇄(&P)...\tCtrl+P";
inline constexpr const char* kMenuPrintPreview = "인쇄 미리 보기(&V)";
inline constexpr const char* kMenuExit = "종료(&X)";
inline constexpr const char* kMenuSelectAdapter = "어댑터 선택(&C)...";
inline constexpr const char* kMenuApply = "적용(&S)";
inline constexpr const char* kMenuAdd = "추가(&A)...";
inline constexpr const char* kMenuCopy = "복사(&C)";
inline constexpr const char* kMenuEditProfile = "수정(&E)...";
inline constexpr const char* kMenuDelete = "삭제(&D)";
inline constexpr const char* kMenuToolBar = "도구 모음(&T)";
inline constexpr const char* kMenuStatusBar = "상태 표시줄(&S)";
inline constexpr const char* kMenuStatus = "현황(&V)...";
inline constexpr const char* kMenuAbout = "Quorrel 정보(&A)...";
inline constexpr const char* kMenuCheckUpdate = "업데이트 확인(&C)...";
inline constexpr const char* kMenuShowHelp = "도움말(&H)...";

// Toolbar button labels.
inline constexpr const char* kButtonPrint = "인쇄";
inline constexpr const char* kButtonSelectAdapter = "어댑터 선택";
inline constexpr const char* kButtonApply = "적용";
inline constexpr const char* kButtonAdd = "추가";
inline constexpr const char* kButtonCopy = "복사";
inline constexpr const char* kButtonEdit = "수정";
inline constexpr const char* kButtonDelete = "삭제";
inline constexpr const char* kButtonStatus = "현황";
inline constexpr const char* kButtonHelp = "도움말";
inline constexpr const char* kButtonAbout = "정보";

// String table: prompts of the commands, shown in the status bar (and, for the toolbar
// buttons, as their tooltips). Named after the command they belong to.
inline constexpr const char* kPromptPrint = "현재 열린 문서를 인쇄합니다";
inline constexpr const char* kPromptSelectAdapter = "IP 설정을 변경하기 위한 어댑터를 선택합니다";
inline constexpr const char* kPromptApply =
    "현재 선택된 어댑터의 IP 설정을 선택된 설정 값으로 변경합니다";
inline constexpr const char* kPromptAdd = "설정을 추가합니다";
inline constexpr const char* kPromptCopy = "선택된 설정을 복사하여 새로운 설정을 추가합니다";
inline constexpr const char* kPromptEdit = "선택된 설정의 세부 정보를 수정합니다";
inline constexpr const char* kPromptDelete = "선택된 설정을 삭제합니다";
inline constexpr const char* kPromptStatus = "현재 각 어댑터에 설정된 현황을 보여줍니다";
inline constexpr const char* kPromptHelp = "도움말을 보여줍니다";
inline constexpr const char* kPromptAbout = "프로그램 정보와 버전 정보, 저작권 정보를 표시합니다";
inline constexpr const char* kPromptPrintPreview = "인쇄할 내용을 보여줍니다";
inline constexpr const char* kPromptExit =
    "응용 프로그램을 종료하기 위해 문서를 저장할 것인지 묻습니다";
inline constexpr const char* kPromptToolBar = "도구 모음을 보이거나 감춥니다";
inline constexpr const char* kPromptStatusBar = "상태 표시줄을 표시하거나 감춥니다";
inline constexpr const char* kPromptCheckUpdate = "업데이트 정보를 확인합니다";
inline constexpr const char* kPromptDeleteAll = "프로파일 목록을 전부 삭제한다";
inline constexpr const char* kPromptFileOpen = "기존 문서를 엽니다";
inline constexpr const char* kPromptFileSave = "현재 열린 문서를 저장합니다";
inline constexpr const char* kPromptPrintSetup = "프린터와 인쇄 옵션을 변경합니다";
inline constexpr const char* kPromptWindowSize = "창의 크기를 변경합니다";
inline constexpr const char* kPromptWindowMove = "창의 위치를 변경합니다";
inline constexpr const char* kPromptWindowMinimize = "창을 아이콘으로 줄여서 표시합니다";
inline constexpr const char* kPromptWindowMaximize = "창을 최대 크기로 확장합니다";
inline constexpr const char* kPromptNextWindow = "다음 문서 창으로 전환합니다";
inline constexpr const char* kPromptPreviousWindow = "이전 문서 창으로 전환합니다";
inline constexpr const char* kPromptWindowClose =
    "현재 열린 창을 닫고 문서를 저장할 것인지를 묻습니다";
inline constexpr const char* kPromptWindowRestore = "창을 원래 크기로 복원합니다";
inline constexpr const char* kPromptTaskList = "작업 목록을 활성화합니다";
inline constexpr const char* kPromptClosePreview = "인쇄 미리 보기 모드를 닫습니다";

// Fonts: the application face, and the faces that stand in for the Windows ones.
// NanumBarunGothic rather than NanumGothic: at 9 points NanumGothic sets its full stop
// below the baseline, so "192.168.0.1" reads as "192,168,0,1".
inline constexpr const char* kApplicationFont = "NanumBarunGothic";
inline constexpr const char* kGulimChe = "굴림체";
inline constexpr const char* kGulimCheSubstitute = "NanumGothicCoding";
inline constexpr const char* kGulim = "굴림";
inline constexpr const char* kGulimSubstitute = "NanumBarunGothic";

// Profile commands: deleting, and printing before the list view takes the command.
inline constexpr const char* kDeleteInUseText =
    "현재 네트워크 설정으로 사용되는 항목이므로 삭제할 수 없습니다.";
inline constexpr const char* kDeleteInUseCaption = "Quorrel - 삭제 오류";
inline constexpr const char* kDeleteQuestionText = "선택된 항목을 삭제하시겠습니까?";
inline constexpr const char* kDeleteQuestionCaption = "삭제 확인";
inline constexpr const char* kPrintNotReadyText =
    "Quorrel v3.0 부터 제공될 기능입니다.\n죄송합니다.";
inline constexpr const char* kPrintNotReadyCaption = "Quorrel";

}  // namespace quorrel::texts
