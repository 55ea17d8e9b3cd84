// The adapter report from plain facts: layout, the lines an adapter gets, lease times.

#include "ipconfig/AdapterReport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <sstream>

namespace quorrel::ipconfig {
namespace {

// Lines of the report without their CR LF; fails the test on a line end without CR.
std::vector<std::string> linesOf(const std::string& report) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < report.size()) {
        const std::size_t lf = report.find('\n', start);
        if (lf == std::string::npos) {
            ADD_FAILURE() << "report does not end with a line end";
            lines.push_back(report.substr(start));
            break;
        }
        EXPECT_TRUE(lf > start && report[lf - 1] == '\r') << "bare LF after: " << lines.size();
        lines.push_back(report.substr(start, lf > start ? lf - start - 1 : 0));
        start = lf + 1;
    }
    return lines;
}

// The value of the first line with `label` in `lines`, or nothing when there is none.
std::optional<std::string> valueOf(const std::vector<std::string>& lines,
                                   const std::string& label) {
    for (const auto& line : lines) {
        if (line.rfind("   " + label, 0) != 0) {
            continue;
        }
        const std::size_t colon = line.find(" :");
        if (colon == std::string::npos) {
            continue;
        }
        return colon + 2 < line.size() ? line.substr(colon + 3) : std::string();
    }
    return std::nullopt;
}

std::size_t indexOf(const std::vector<std::string>& lines, const std::string& prefix) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind(prefix, 0) == 0) {
            return i;
        }
    }
    return lines.size();
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
        if (savedTz_) {
            ::setenv("TZ", savedTz_->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
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
    facts.adapters[0].dnsServers = {"10.0.0.1", "10.0.0.2"};
    facts.adapters[0].dhcpEnabled = true;
    facts.adapters[0].lease = LeaseFacts{"192.168.0.1", 1796623445, 1796709845};
    std::size_t labelled = 0;
    for (const auto& line : linesOf(formatAdapterReport(facts))) {
        const std::size_t colon = line.find(" :");
        if (colon == std::string::npos) {
            continue;
        }
        ++labelled;
        EXPECT_EQ(displayWidth(line.substr(0, colon + 1)), 33u) << line;
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
    const auto lines = linesOf(formatAdapterReport({"myhost", {fixedAdapter(), second, third}}));

    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "IP 구성");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "   호스트 이름 . . . . . . . . . : myhost");
    const std::size_t eth = indexOf(lines, "이더넷 어댑터 eth0:");
    const std::size_t wlan = indexOf(lines, "무선 LAN 어댑터 wlan0:");
    const std::size_t tun = indexOf(lines, "어댑터 tun0:");
    EXPECT_LT(3u, eth);
    EXPECT_LT(eth, wlan);
    EXPECT_LT(wlan, tun);
    ASSERT_LT(tun, lines.size());
    // No hardware address: no physical address line in that block.
    EXPECT_EQ(valueOf(std::vector<std::string>(lines.begin() + static_cast<long>(tun), lines.end()),
                      "물리적 주소"),
              std::nullopt);
    EXPECT_EQ(lines.back(), "");
}

TEST_F(AdapterReport, FixedAdapterShowsItsAddressesWithoutLease) {
    AdapterFacts a = fixedAdapter();
    a.lease = LeaseFacts{"192.168.0.254", 1796623445, 1796709845};  // stale: not DHCP
    const auto lines = linesOf(formatAdapterReport({"h", {a}}));

    EXPECT_EQ(valueOf(lines, "설명"), "e1000e");
    EXPECT_EQ(valueOf(lines, "물리적 주소"), "00-0C-29-AB-CD-EF");
    EXPECT_EQ(valueOf(lines, "DHCP 사용"), "아니요");
    EXPECT_EQ(valueOf(lines, "IPv4 주소"), "192.168.0.10");
    EXPECT_EQ(valueOf(lines, "서브넷 마스크"), "255.255.255.0");
    EXPECT_EQ(valueOf(lines, "기본 게이트웨이"), "192.168.0.1");
    EXPECT_EQ(valueOf(lines, "DNS 서버"), "168.126.63.1");
    EXPECT_EQ(valueOf(lines, "임대 시작 날짜"), std::nullopt);
    EXPECT_EQ(valueOf(lines, "DHCP 서버"), std::nullopt);
}

TEST_F(AdapterReport, DhcpAdapterShowsLeaseTimesInLocalTimeAndItsServer) {
    AdapterFacts a = fixedAdapter();
    a.dhcpEnabled = true;
    a.lease = LeaseFacts{"192.168.0.254", 1796623445, 1796709845};
    const auto lines = linesOf(formatAdapterReport({"h", {a}}));

    EXPECT_EQ(valueOf(lines, "DHCP 사용"), "예");
    EXPECT_EQ(valueOf(lines, "임대 시작 날짜"), "2026년 12월 7일 월요일 오후 3:04:05");
    EXPECT_EQ(valueOf(lines, "임대 만료 날짜"), "2026년 12월 8일 화요일 오후 3:04:05");
    EXPECT_EQ(valueOf(lines, "DHCP 서버"), "192.168.0.254");
    // The familiar order: mask, lease times, gateway, DHCP server, DNS servers.
    EXPECT_LT(indexOf(lines, "   서브넷 마스크"), indexOf(lines, "   임대 시작 날짜"));
    EXPECT_LT(indexOf(lines, "   임대 만료 날짜"), indexOf(lines, "   기본 게이트웨이"));
    EXPECT_LT(indexOf(lines, "   기본 게이트웨이"), indexOf(lines, "   DHCP 서버"));
    EXPECT_LT(indexOf(lines, "   DHCP 서버"), indexOf(lines, "   DNS 서버"));
}

TEST_F(AdapterReport, UnknownLeaseFactsAreLeftOut) {
    AdapterFacts a = fixedAdapter();
    a.dhcpEnabled = true;
    a.lease = LeaseFacts{"", 0, 1796709845};
    const auto lines = linesOf(formatAdapterReport({"h", {a}}));
    EXPECT_EQ(valueOf(lines, "임대 시작 날짜"), std::nullopt);
    EXPECT_EQ(valueOf(lines, "임대 만료 날짜"), "2026년 12월 8일 화요일 오후 3:04:05");
    EXPECT_EQ(valueOf(lines, "DHCP 서버"), std::nullopt);
}

TEST_F(AdapterReport, AdapterWithoutAddressKeepsAnEmptyGatewayLine) {
    AdapterFacts a;
    a.connectionName = "lan1";
    a.hardwareAddress = {0x02, 0, 0, 0, 0, 1};
    const auto lines = linesOf(formatAdapterReport({"h", {a}}));
    EXPECT_EQ(valueOf(lines, "IPv4 주소"), std::nullopt);
    EXPECT_EQ(valueOf(lines, "서브넷 마스크"), std::nullopt);
    EXPECT_EQ(valueOf(lines, "기본 게이트웨이"), "");
    EXPECT_EQ(valueOf(lines, "DNS 서버"), std::nullopt);
    EXPECT_EQ(valueOf(lines, "설명"), std::nullopt);
}

TEST_F(AdapterReport, FurtherDnsServersStandAloneInTheValueColumn) {
    AdapterFacts a = fixedAdapter();
    a.dnsServers = {"10.0.0.1", "10.0.0.2", "10.0.0.3"};
    const auto lines = linesOf(formatAdapterReport({"h", {a}}));
    const std::size_t first = indexOf(lines, "   DNS 서버");
    ASSERT_LT(first + 3, lines.size());
    EXPECT_EQ(valueOf(lines, "DNS 서버"), "10.0.0.1");
    EXPECT_EQ(lines[first + 1], std::string(35, ' ') + "10.0.0.2");
    EXPECT_EQ(lines[first + 2], std::string(35, ' ') + "10.0.0.3");
    EXPECT_EQ(lines[first + 3], "");
    // The continuation lines line up with the first value.
    EXPECT_EQ(displayWidth(lines[first].substr(0, lines[first].find("10.0.0.1"))), 35u);
}

TEST_F(AdapterReport, DisconnectedAdapterShowsMediaStateInsteadOfAddresses) {
    AdapterFacts a = fixedAdapter();
    a.mediaConnected = false;
    const auto lines = linesOf(formatAdapterReport({"h", {a}}));
    EXPECT_EQ(valueOf(lines, "미디어 상태"), "미디어 연결 끊김");
    EXPECT_EQ(valueOf(lines, "물리적 주소"), "00-0C-29-AB-CD-EF");
    EXPECT_EQ(valueOf(lines, "IPv4 주소"), std::nullopt);
    EXPECT_EQ(valueOf(lines, "기본 게이트웨이"), std::nullopt);
    EXPECT_EQ(valueOf(lines, "DNS 서버"), std::nullopt);
}

TEST_F(AdapterReport, ControlCharactersFromTheSystemCannotBreakLines) {
    AdapterFacts a = fixedAdapter();
    a.connectionName = "ev\nil\r";
    a.description = "drv\x1b[2J";
    const std::string report = formatAdapterReport({"h\r\nx", {a}});
    const auto lines = linesOf(report);
    EXPECT_EQ(indexOf(lines, "이더넷 어댑터 ev?il?:") < lines.size(), true) << report;
    EXPECT_EQ(valueOf(lines, "설명"), "drv?[2J");
    EXPECT_EQ(valueOf(lines, "호스트 이름"), "h??x");
}

TEST(KoreanDateTime, TwelveHourClockWithHalfOfDay) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 0;
    t.tm_mday = 4;
    t.tm_wday = 0;
    EXPECT_EQ(koreanDateTime(t), "2026년 1월 4일 일요일 오전 12:00:00");
    t.tm_hour = 12;
    t.tm_min = 5;
    t.tm_wday = 6;
    EXPECT_EQ(koreanDateTime(t), "2026년 1월 4일 토요일 오후 12:05:00");
    t.tm_hour = 23;
    t.tm_min = 59;
    t.tm_sec = 9;
    EXPECT_EQ(koreanDateTime(t), "2026년 1월 4일 토요일 오후 11:59:09");
    t.tm_hour = 11;
    EXPECT_EQ(koreanDateTime(t), "2026년 1월 4일 토요일 오전 11:59:09");
}

TEST(DisplayWidth, HangulTakesTwoColumnsAndBrokenBytesOne) {
    EXPECT_EQ(displayWidth("DHCP 사용"), 9u);
    EXPECT_EQ(displayWidth("ａ"), 2u);  // full-width Latin
    EXPECT_EQ(displayWidth("é"), 1u);
    EXPECT_EQ(displayWidth("\xEC\x82"), 2u);  // a cut-off syllable
}

TEST(PhysicalAddress, BytesAsUpperCaseHexPairsJoinedByDashes) {
    EXPECT_EQ(physicalAddressText({0x00, 0x0C, 0x29, 0xAB, 0xCD, 0xEF}), "00-0C-29-AB-CD-EF");
    EXPECT_EQ(physicalAddressText({0xFF}), "FF");
    EXPECT_EQ(physicalAddressText({}), "");
}

}  // namespace
}  // namespace quorrel::ipconfig
