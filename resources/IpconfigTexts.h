#pragma once

// Texts of our ipconfig report, exactly as it prints them (UTF-8).

namespace quorrel::texts {

// Heading of the whole report and its one machine-wide line.
inline constexpr const char* kIpconfigTitle = "IP 구성";
inline constexpr const char* kIpconfigHostName = "호스트 이름";

// Headings of one adapter's block, followed by its connection name and a colon.
inline constexpr const char* kIpconfigEthernetAdapter = "이더넷 어댑터";
inline constexpr const char* kIpconfigWirelessAdapter = "무선 LAN 어댑터";
inline constexpr const char* kIpconfigOtherAdapter = "어댑터";

// Labels of an adapter's lines.
inline constexpr const char* kIpconfigMediaState = "미디어 상태";
inline constexpr const char* kIpconfigMediaDisconnected = "미디어 연결 끊김";
inline constexpr const char* kIpconfigDescription = "설명";
inline constexpr const char* kIpconfigPhysicalAddress = "물리적 주소";
inline constexpr const char* kIpconfigDhcpEnabled = "DHCP 사용";
inline constexpr const char* kIpconfigIpv4Address = "IPv4 주소";
inline constexpr const char* kIpconfigSubnetMask = "서브넷 마스크";
inline constexpr const char* kIpconfigLeaseObtained = "임대 시작 날짜";
inline constexpr const char* kIpconfigLeaseExpires = "임대 만료 날짜";
inline constexpr const char* kIpconfigDefaultGateway = "기본 게이트웨이";
inline constexpr const char* kIpconfigDhcpServer = "DHCP 서버";
inline constexpr const char* kIpconfigDnsServers = "DNS 서버";

inline constexpr const char* kIpconfigYes = "예";
inline constexpr const char* kIpconfigNo = "아니요";

// Lease times in local time: year, month, day, weekday, half of the day, hour (1 to 12),
// minutes, seconds: "2026년 12월 7일 월요일 오후 3:04:05".
inline constexpr const char* kIpconfigDateTimeFormat = "%d년 %d월 %d일 %s %s %d:%02d:%02d";
inline constexpr const char* kIpconfigWeekdays[7] = {"일요일", "월요일", "화요일", "수요일",
                                                     "목요일", "금요일", "토요일"};
inline constexpr const char* kIpconfigMorning = "오전";
inline constexpr const char* kIpconfigAfternoon = "오후";

}  // namespace quorrel::texts
