// The built ipconfig program, run for real inside a network namespace that each test
// creates and removes (root only).

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <memory>
#include <sstream>

#include "platform/linux/NetworkState.h"
#include "tests/support/Succeeded.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WaitUntil.h"
#include "tests/support/linux/NetworkNamespace.h"

namespace quorrel::ipconfig {
namespace {

using platform::InterfaceState;
using test::CommandOutput;
using test::NetworkNamespace;
using Lines = std::vector<std::string>;

Lines splitLines(const std::string& text) {
    Lines lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

// The lines of one adapter's block, from its heading up to the next heading.
Lines blockOf(const Lines& report, const std::string& heading) {
    const auto start = std::find(report.begin(), report.end(), heading);
    if (start == report.end()) {
        return {};
    }
    auto end = std::find_if(start + 1, report.end(), [](const std::string& line) {
        return !line.empty() && line[0] != ' ';
    });
    return Lines(start, end);
}

// Values of a labelled line and of the continuation lines below it.
Lines valuesOf(const Lines& block, const std::string& label) {
    Lines values;
    for (std::size_t i = 0; i < block.size(); ++i) {
        if (block[i].rfind("   " + label, 0) != 0) {
            continue;
        }
        const std::size_t colon = block[i].find(" :");
        values.push_back(colon + 3 <= block[i].size() ? block[i].substr(colon + 3) : "");
        for (std::size_t k = i + 1;
             k < block.size() && block[k].rfind(std::string(35, ' '), 0) == 0; ++k) {
            values.push_back(block[k].substr(35));
        }
        break;
    }
    return values;
}

class IpconfigInNamespace : public ::testing::Test {
protected:
    void SetUp() override {
        if (auto why = NetworkNamespace::unavailableReason(); !why.empty()) {
            GTEST_SKIP() << why;
        }
        ns_ = std::make_unique<NetworkNamespace>();
        ns_->addVeth("lan0", "peer0");
        ns_->addVeth("lan1", "peer1");
        mustRun({"ip", "addr", "add", "10.81.0.5/24", "dev", "lan0"});
        mustRun({"ip", "route", "add", "default", "via", "10.81.0.1", "dev", "lan0"});
        mustRun({"ip", "addr", "add", "10.82.0.7/16", "dev", "lan1"});
        ns_->addVeth("lan2", "peer2");
        mustRun({"ip", "addr", "add", "10.83.0.9/24", "dev", "lan2"});
        mustRun({"ip", "link", "set", "lan2", "down"});
        ns_->writeResolvConf("nameserver 10.81.0.53\nnameserver 10.81.0.54\n");
    }

    void mustRun(const std::vector<std::string>& argv) {
        const CommandOutput out = ns_->run(argv);
        ASSERT_EQ(out.exitCode, 0) << out.output;
    }

    void record(const std::string& ifname, const InterfaceState& state) {
        ASSERT_TRUE(test::succeeded(platform::writeInterfaceState(state_.path(), ifname, state)));
    }

    CommandOutput ipconfig() {
        return ns_->run({QUORREL_IPCONFIG_PATH, "/all"},
                        {"QUORREL_NETSTATE_DIR=" + state_.path(), "TZ=KST-9"});
    }

    // "02-AB-..." as the report writes the interface's link address.
    std::string macOf(const std::string& ifname) {
        std::istringstream words(ns_->run({"ip", "-o", "link", "show", "dev", ifname}).output);
        for (std::string word; words >> word;) {
            if (word == "link/ether" && words >> word) {
                std::replace(word.begin(), word.end(), ':', '-');
                std::transform(word.begin(), word.end(), word.begin(),
                               [](unsigned char c) { return std::toupper(c); });
                return word;
            }
        }
        return "(no link address)";
    }

    test::TempFolder state_;
    std::unique_ptr<NetworkNamespace> ns_;
};

TEST_F(IpconfigInNamespace, ReportsEveryInterfaceInIndexOrderWithItsSettings) {
    InterfaceState lan1;
    lan1.dhcp = false;
    lan1.dnsAuto = false;
    lan1.dnsServers = {"10.82.0.53", "10.82.0.54"};
    record("lan1", lan1);
    InterfaceState lan2;
    lan2.dhcp = true;
    lan2.dnsAuto = true;
    lan2.lease.emplace();
    lan2.lease->server = "10.83.0.1";
    lan2.lease->obtained = 1796623445;
    lan2.lease->expires = 1796709845;
    lan2.lease->dnsServers = {"10.83.0.1"};
    record("lan2", lan2);

    const CommandOutput out = ipconfig();
    ASSERT_EQ(out.exitCode, 0) << out.output;
    EXPECT_NE(out.output.find("\r\n"), std::string::npos);
    const Lines report = splitLines(out.output);

    char host[HOST_NAME_MAX + 1] = {};
    ASSERT_EQ(::gethostname(host, sizeof host - 1), 0);
    EXPECT_EQ(valuesOf(report, "호스트 이름"), Lines{host});

    Lines headings;
    std::copy_if(report.begin(), report.end(), std::back_inserter(headings),
                 [](const std::string& line) { return line.find("어댑터") != std::string::npos; });
    EXPECT_EQ(headings,
              (Lines{"이더넷 어댑터 lan0:", "이더넷 어댑터 lan1:", "이더넷 어댑터 lan2:"}))
        << out.output;

    // Never set by netsh: a fixed address, DNS servers from the resolver configuration.
    const Lines first = blockOf(report, "이더넷 어댑터 lan0:");
    EXPECT_EQ(valuesOf(first, "설명"), Lines{"veth"});
    EXPECT_EQ(valuesOf(first, "물리적 주소"), Lines{macOf("lan0")});
    EXPECT_EQ(valuesOf(first, "DHCP 사용"), Lines{"아니요"});
    EXPECT_EQ(valuesOf(first, "IPv4 주소"), Lines{"10.81.0.5"});
    EXPECT_EQ(valuesOf(first, "서브넷 마스크"), Lines{"255.255.255.0"});
    EXPECT_EQ(valuesOf(first, "기본 게이트웨이"), Lines{"10.81.0.1"});
    EXPECT_EQ(valuesOf(first, "DNS 서버"), (Lines{"10.81.0.53", "10.81.0.54"}));

    // Recorded by netsh: its hand-set DNS servers.
    const Lines second = blockOf(report, "이더넷 어댑터 lan1:");
    EXPECT_EQ(valuesOf(second, "물리적 주소"), Lines{macOf("lan1")});
    EXPECT_EQ(valuesOf(second, "DHCP 사용"), Lines{"아니요"});
    EXPECT_EQ(valuesOf(second, "IPv4 주소"), Lines{"10.82.0.7"});
    EXPECT_EQ(valuesOf(second, "서브넷 마스크"), Lines{"255.255.0.0"});
    EXPECT_EQ(valuesOf(second, "기본 게이트웨이"), Lines{""});
    EXPECT_EQ(valuesOf(second, "DNS 서버"), (Lines{"10.82.0.53", "10.82.0.54"}));

    // Its lease recorded, but the link is down.
    const Lines third = blockOf(report, "이더넷 어댑터 lan2:");
    EXPECT_EQ(valuesOf(third, "미디어 상태"), Lines{"미디어 연결 끊김"});
    EXPECT_EQ(valuesOf(third, "DHCP 사용"), Lines{"예"});
    EXPECT_EQ(valuesOf(third, "IPv4 주소"), Lines{});

    // Up again: the lease in local time, its server and DNS servers.
    mustRun({"ip", "link", "set", "lan2", "up"});
    // The kernel reports the carrier a moment later.
    ASSERT_TRUE(test::waitUntil([&] {
        return ns_->run({"ip", "-o", "link", "show", "dev", "lan2"}).output.find("state UP") !=
               std::string::npos;
    }));
    const Lines up = blockOf(splitLines(ipconfig().output), "이더넷 어댑터 lan2:");
    EXPECT_EQ(valuesOf(up, "임대 시작 날짜"), Lines{"2026년 12월 7일 월요일 오후 3:04:05"});
    EXPECT_EQ(valuesOf(up, "임대 만료 날짜"), Lines{"2026년 12월 8일 화요일 오후 3:04:05"});
    EXPECT_EQ(valuesOf(up, "DHCP 서버"), Lines{"10.83.0.1"});
    EXPECT_EQ(valuesOf(up, "DNS 서버"), Lines{"10.83.0.1"});
}

}  // namespace
}  // namespace quorrel::ipconfig
