#pragma once

// Texts of the profile list in the main window.

namespace quorrel::texts {

inline constexpr const char* kColumnName = "이름";
inline constexpr const char* kColumnIpAddress = "IP 주소";
inline constexpr const char* kColumnSubnetMask = "서브넷 마스크";
inline constexpr const char* kColumnGateway = "기본 게이트 웨이";
inline constexpr const char* kColumnPrimaryDns = "기본 DNS 서버";
inline constexpr const char* kColumnSecondaryDns = "보조 DNS 서버";

// Shown in the address cells of a profile that obtains them automatically.
inline constexpr const char* kDhcpCell = "- DHCP -";

// Context menu of a selected row.
inline constexpr const char* kPopupCopy = "복사";
inline constexpr const char* kPopupEdit = "수정";
inline constexpr const char* kPopupDelete = "삭제";
inline constexpr const char* kPopupApply = "적용";

}  // namespace quorrel::texts
