#pragma once

// Texts of the about dialog, the help book and the web links.

namespace quorrel::texts {

// The web pages the program opens in the browser: the product's home page (the about
// dialog's first link and the update check) and the maker's (its second link). The link
// texts show the same addresses.
inline constexpr const char* kProductHomeUrl = "http://quorrel.varnok.example/";
inline constexpr const char* kMakerHomeUrl = "http://www.varnok.example/";

// The about dialog.
inline constexpr const char* kAboutCaption = "Quorrel 정보";
inline constexpr const char* kAboutVersion = "Quorrel v2.1.1";
inline constexpr const char* kAboutLinkSeparator = ",";
inline constexpr const char* kAboutFreeOfCharge = "[Quorrel는 무료로 제공됩니다]";
inline constexpr const char* kAboutOk = "확인";

// The help book: its file in the install folder and the page the help command opens.
inline constexpr const char* kHelpFileName = "QuorrelHelp.chm";
inline constexpr const char* kHelpMainTopic = "/main/Main.htm";
inline constexpr const char* kHelpTopicFormat = "%sQuorrelHelp.chm::/main/Main.htm";

// The help viewer (our own wording).
inline constexpr const char* kHelpWindowTitle = "Quorrel 도움말";
inline constexpr const char* kHelpBack = "뒤로";
inline constexpr const char* kHelpForward = "앞으로";
inline constexpr const char* kHelpHome = "처음";
inline constexpr const char* kHelpFileMissing =
    "도움말 파일을 열 수 없습니다.\n\n%s\n\n파일이 없거나 손상되었습니다. Quorrel를 다시 "
    "설치하여 주십시오.";
inline constexpr const char* kHelpTopicMissing = "도움말 파일에 \"%s\" 항목이 없습니다.";

}  // namespace quorrel::texts
