// The adapter report from plain facts: layout, the lines an adapter gets, lease times.

#include "ipconfig/AdapterReport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace quorrel::ipconfig {
namespace {

using Lines = std::vector<std::string>;

// Lines of the report without their line ends, each of which must be CR LF.
Lines linesOf(const std::string& report) {
    Lines lines;
    std::size_t start = 0;
    for (std::size_t lf; (lf = report.find('\n', start)) != std::string::npos; start = lf + 1) {
        EXPECT_TRUE(lf > start && report[lf - 1] == '\r') << "bare LF after line " << lines.size();
        lines.push_back(report.substr(start, lf > start ? lf - start - 1 : 0));
    }
    EXPECT_EQ(start, report.size()) << "last line without a line end";
    return lines;
}

// Index of the first line starting with `prefix`; lines.size() when there is none.
std::size_t indexOf(const Lines& lines, const std::string& prefix) {
    std::size_t i = 0;
    while (i < lines.size() && lines[i].rfind(prefix, 0) != 0) {
        ++i;
    }
    return i;
}

// The value of the first line labelled `label`.
std::optional<std::string> valueOf(const Lines& lines, const std::string& label) {
    const std::size_t i = indexOf(lines, "   " + label);
    if (i == lines.size()) {
        return std::nullopt;
    }
    const std::size_t colon = lines[i].find(" :");
    return colon + 3 <= lines[i].size() ? lines[i].substr(colon + 3) : std::string();
}

AdapterFacts fixedAdapter() {
    AdapterFacts a;
    a.connectionName = "eth0";
    a.description = "e1000e";
    a.hardwareAddress = {0x00, 0x0C, 0x29, 0xAB, 0xCD, 0xEF};
    a.ipAddress = "192.168.0.10";
    a.subnetMask = "255.255.255.0";
    a.gateway = "192.168.0.1";
    a.dnsServers = {"168.126.63.1"};
    return a;
}

// 2026-12-07 15:04:05 and a day later, in Korean time.
constexpr std::int64_t kObtained = 1796623445;
constexpr std::int64_t kExpires = 1796709845;

// Lease times print in local time: the tests pin the zone to Korean time.
class AdapterReport : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* tz = std::getenv("TZ")) {
            savedTz_ = tz;
        }
        ::setenv("TZ", "KST-9", 1);
        ::tzset();
    }
    void TearDown() override {
        savedTz_ ? ::setenv("TZ", savedTz_->c_str(), 1) : ::unsetenv("TZ");
        ::tzset();
    }

private:
    std::optional<std::string> savedTz_;
};

TEST_F(AdapterReport, LabelledLinesUseTheDotLeaderAndOneColonColumn) {
    EXPECT_EQ(labelledLine("물리적 주소", "00-0C-29-AB-CD-EF"),
              "   물리적 주소 . . . . . . . . . : 00-0C-29-AB-CD-EF");
    // A label ending in an odd column is followed by a dot at once.
    EXPECT_EQ(labelledLine("설명", "veth"), "   설명. . . . . . . . . . . . . : veth");
    EXPECT_EQ(labelledLine("DHCP 사용", ""), "   DHCP 사용 . . . . . . . . . . :");

    ReportFacts facts{"host", {fixedAdapter()}};
    facts.adapters[0].dhcpEnabled = true;
    facts.adapters[0].lease = LeaseFacts{"192.168.0.1", kObtained, kExpires};
    std::size_t labelled = 0;
    for (const auto& line : linesOf(formatAdapterReport(facts))) {
        if (const std::size_t colon = line.find(" :"); colon != std::string::npos) {
            ++labelled;
            EXPECT_EQ(displayWidth(line.substr(0, colon + 1)), 33u) << line;
        }
    }
    EXPECT_EQ(labelled, 11u);
}

TEST_F(AdapterReport, HostNameComesFirstAndAdaptersFollowInTheirOrder) {
    AdapterFacts second = fixedAdapter();
    second.connectionName = "wlan0";
    second.kind = AdapterKind::Wireless;
    AdapterFacts third = fixedAdapter();
    third.connectionName = "tun0";
    third.kind = AdapterKind::Other;
    third.hardwareAddress.clear();
    const Lines lines = linesOf(formatAdapterReport({"myhost", {fixedAdapter(), second, third}}));

    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 5),
              (Lines{"", "IP 구성", "", "   호스트 이름 . . . . . . . . . : myhost", ""}));
    const std::size_t eth = indexOf(lines, "이더넷 어댑터 eth0:");
    const std::size_t wlan = indexOf(lines, "무선 LAN 어댑터 wlan0:");
    const std::size_t tun = indexOf(lines, "어댑터 tun0:");
    EXPECT_LT(eth, wlan);
    ASSERT_LT(wlan, tun);
    ASSERT_LT(tun, lines.size());
    EXPECT_EQ(valueOf(Lines(lines.begin() + static_cast<long>(tun), lines.end()), "물리적 주소"),
              std::nullopt);
}

TEST_F(AdapterReport, LeaseOnlyForDhcpInLocalTimeAndInTheFamiliarOrder) {
    AdapterFacts a = fixedAdapter();
    a.lease = LeaseFacts{"192.168.0.254", kObtained, kExpires};
    Lines lines = linesOf(formatAdapterReport({"h", {a}}));
    EXPECT_EQ(valueOf(lines, "DHCP 사용"), "아니요");
    EXPECT_EQ(valueOf(lines, "임대 시작 날짜"), std::nullopt);
    EXPECT_EQ(valueOf(lines, "DHCP 서버"), std::nullopt);

    a.dhcpEnabled = true;
    lines = linesOf(formatAdapterReport({"h", {a}}));
    EXPECT_EQ(valueOf(lines, "DHCP 사용"), "예");
    EXPECT_EQ(valueOf(lines, "임대 시작 날짜"), "2026년 12월 7일 월요일 오후 3:04:05");
    EXPECT_EQ(valueOf(lines, "임대 만료 날짜"), "2026년 12월 8일 화요일 오후 3:04:05");
    EXPECT_EQ(valueOf(lines, "DHCP 서버"), "192.168.0.254");
    const Lines order = {"IPv4 주소",       "서브넷 마스크", "임대 시작 날짜", "임대 만료 날짜",
                         "기본 게이트웨이", "DHCP 서버",     "DNS 서버"};
    for (std::size_t i = 1; i < order.size(); ++i) {
        EXPECT_LT(indexOf(lines, "   " + order[i - 1]), indexOf(lines, "   " + order[i]));
    }

    // Facts the client did not record are left out.
    a.lease = LeaseFacts{"", 0, kExpires};
    lines = linesOf(formatAdapterReport({"h", {a}}));
    EXPECT_EQ(valueOf(lines, "임대 시작 날짜"), std::nullopt);
    EXPECT_EQ(valueOf(lines, "임대 만료 날짜"), "2026년 12월 8일 화요일 오후 3:04:05");
    EXPECT_EQ(valueOf(lines, "DHCP 서버"), std::nullopt);
}

TEST_F(AdapterReport, AdapterWithoutAddressKeepsAnEmptyGatewayLine) {
    AdapterFacts a;
    a.connectionName = "lan1";
    const Lines lines = linesOf(formatAdapterReport({"h", {a}}));
    EXPECT_EQ(valueOf(lines, "IPv4 주소"), std::nullopt);
    EXPECT_EQ(valueOf(lines, "서브넷 마스크"), std::nullopt);
    EXPECT_EQ(valueOf(lines, "기본 게이트웨이"), "");
    EXPECT_EQ(valueOf(lines, "DNS 서버"), std::nullopt);
    EXPECT_EQ(valueOf(lines, "설명"), std::nullopt);
}

TEST_F(AdapterReport, FurtherDnsServersStandAloneInTheValueColumn) {
    AdapterFacts a = fixedAdapter();
    a.dnsServers = {"10.0.0.1", "10.0.0.2", "10.0.0.3"};
    const Lines lines = linesOf(formatAdapterReport({"h", {a}}));
    const std::size_t first = indexOf(lines, "   DNS 서버");
    ASSERT_LT(first + 3, lines.size());
    EXPECT_EQ(valueOf(lines, "DNS 서버"), "10.0.0.1");
    EXPECT_EQ(lines[first + 1], std::string(35, ' ') + "10.0.0.2");
    EXPECT_EQ(lines[first + 2], std::string(35, ' ') + "10.0.0.3");
    EXPECT_EQ(lines[first + 3], "");
}

TEST_F(AdapterReport, DisconnectedAdapterShowsMediaStateInsteadOfAddresses) {
    AdapterFacts a = fixedAdapter();
    a.mediaConnected = false;
    const Lines lines = linesOf(formatAdapterReport({"h", {a}}));
    EXPECT_EQ(valueOf(lines, "미디어 상태"), "미디어 연결 끊김");
    EXPECT_EQ(valueOf(lines, "물리적 주소"), "00-0C-29-AB-CD-EF");
    EXPECT_EQ(valueOf(lines, "IPv4 주소"), std::nullopt);
    EXPECT_EQ(valueOf(lines, "기본 게이트웨이"), std::nullopt);
}

TEST_F(AdapterReport, ControlCharactersFromTheSystemCannotBreakLines) {
    AdapterFacts a = fixedAdapter();
    a.connectionName = "ev\nil\r";
    a.description = "drv\x1b[2J";
    const Lines lines = linesOf(formatAdapterReport({"h\r\nx", {a}}));
    EXPECT_LT(indexOf(lines, "이더넷 어댑터 ev?il?:"), lines.size());
    EXPECT_EQ(valueOf(lines, "설명"), "drv?[2J");
    EXPECT_EQ(valueOf(lines, "호스트 이름"), "h??x");
}

TEST(KoreanDateTime, TwelveHourClockWithHalfOfDay) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mday = 4;
    EXPECT_EQ(koreanDateTime(t), "2026년 1월 4일 일요일 오전 12:00:00");
    t.tm_hour = 12;
    t.tm_min = 5;
    t.tm_wday = 6;
    EXPECT_EQ(koreanDateTime(t), "2026년 1월 4일 토요일 오후 12:05:00");
    t.tm_hour = 23;
    t.tm_sec = 9;
    EXPECT_EQ(koreanDateTime(t), "2026년 1월 4일 토요일 오후 11:05:09");
    t.tm_hour = 11;
    EXPECT_EQ(koreanDateTime(t), "2026년 1월 4일 토요일 오전 11:05:09");
}

}  // namespace
}  // namespace quorrel::ipconfig
