#pragma once

// Texts of the profile editor and of printing the profile list.

namespace quorrel::texts {

// --- Profile editor
inline constexpr const char* kEditorCaption = "IP 설정 추가 / 수정";
inline constexpr const char* kEditorCaptionAdd = "IP 설정 추가";
inline constexpr const char* kEditorCaptionEdit = "IP 설정 수정";
inline constexpr const char* kEditorFontFace = "굴림";

inline constexpr const char* kEditorLabelName = "IP 설정 이름 :";
inline constexpr const char* kEditorAutoAddress = "자동으로 IP 주소 받기";
inline constexpr const char* kEditorFixedAddress = "다음 IP 주소 사용 :";
inline constexpr const char* kEditorLabelAddress = "IP 주소 :";
inline constexpr const char* kEditorLabelMask = "서브넷 마스크 :";
inline constexpr const char* kEditorLabelGateway = "기본 게이트웨이 :";
inline constexpr const char* kEditorAutoDns = "자동으로 DNS 서버 주소 받기";
inline constexpr const char* kEditorFixedDns = "다음 DNS 서버 주소 사용 :";
inline constexpr const char* kEditorLabelPrimaryDns = "기본 설정 DNS 서버 :";
inline constexpr const char* kEditorLabelSecondaryDns = "보조 DNS 서버 :";
inline constexpr const char* kEditorOk = "확인";
inline constexpr const char* kEditorCancel = "취소";

inline constexpr const char* kEditorNameMissing = "이름을 입력하십시오.";
inline constexpr const char* kEditorNameHasBar = "이름에 '|' 문자는 사용될 수 없습니다.";
inline constexpr const char* kEditorAddressRange =
    "IP 주소의 범위는 1.0.0.0 부터 223.255.255.255 까지입니다.";
inline constexpr const char* kEditorMaskMissing = "서브넷 주소를 입력하십시오.";
inline constexpr const char* kEditorNameDuplicate =
    "설정 이름이 중복되었습니다.\n다시 입력해 주십시오.";
// Our own wording: the name limit of 20 bytes, and a name the data file cannot hold.
inline constexpr const char* kEditorNameTooLong =
    "이름은 20바이트까지 입력할 수 있습니다.\n(한글은 한 글자에 2바이트입니다.)";
inline constexpr const char* kEditorNameNotEncodable =
    "이름에 저장할 수 없는 문자가 들어 있습니다.\n"
    "한글 완성형(CP949)으로 나타낼 수 있는 문자만 사용해 주십시오.";

// --- Printing
inline constexpr const char* kPrintTitle = "IP 설정 리스트";
inline constexpr const char* kPrintDocumentName = "IP 설정 리스트";
inline constexpr const char* kPrintHeadingName = "이름";
inline constexpr const char* kPrintHeadingAddress = "IP 주소";
inline constexpr const char* kPrintHeadingMask = "서브넷 주소";
inline constexpr const char* kPrintHeadingGateway = "게이트 웨이 주소";
inline constexpr const char* kPrintHeadingPrimaryDns = "기본 DNS 서버";
inline constexpr const char* kPrintHeadingSecondaryDns = "보조 DNS 서버";
// Filled with the page number and the page count.
inline constexpr const char* kPrintFooterFormat = "- %d/%d -";
inline constexpr const char* kPrintFontFace = "굴림체";

inline constexpr const char* kNoPrinterPart1 =
    "설치된 프린터가 없습니다. 프린터를 먼저 설치해 주십시오.\n\n";
inline constexpr const char* kNoPrinterPart2 = "설치하려면 [시작]을 누르고 설정을 가리킨 후\n\n";
inline constexpr const char* kNoPrinterPart3 =
    "[프린터]를 누른 다음 [프린터 추가]를 2번 누르십시오.";
// The add-printer entry of the printers folder, which is not a printer.
inline constexpr const char* kAddPrinterEntry = "프린터 추가";

}  // namespace quorrel::texts
