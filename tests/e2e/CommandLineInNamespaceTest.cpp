// The real program's command line (quorrel --list, --apply, --status) inside a network
// namespace of the test's own (root only): "lan0" there is one end of a veth pair whose
// other end has a DHCP server, "lan1" a second adapter. The program reads its settings from
// a registry store folder of the test and runs our netsh; nothing outside the namespace
// and the test's folders is touched.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/ExitCode.h"
#include "platform/FileStore.h"
#include "platform/InstanceLock.h"
#include "platform/TextCodec.h"
#include "platform/registry/linux/FileRegistryStore.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileList.h"
#include "profiles/Settings.h"
#include "resources/ApplyTexts.h"
#include "tests/support/ProfileBuilder.h"
#include "tests/support/Succeeded.h"
#include "tests/support/TempFolder.h"
#include "tests/support/linux/NetworkNamespace.h"

namespace quorrel {
namespace {

using test::CommandOutput;
using test::dhcpProfile;
using test::fixedProfile;
using test::NetworkNamespace;
using test::TempFolder;

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Every file under `folder` with its bytes, to see that a run wrote nothing there.
std::string folderBytes(const std::string& folder) {
    std::string all;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            all += entry.path().string() + "\n" + fileBytes(entry.path().string()) + "\n";
        }
    }
    return all;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class CommandLineInNamespace : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::string why = NetworkNamespace::unavailableReason(); !why.empty()) {
            GTEST_SKIP() << why;
        }
        if (std::string why = NetworkNamespace::dhcpServerUnavailableReason(); !why.empty()) {
            GTEST_SKIP() << why;
        }
        ns_ = std::make_unique<NetworkNamespace>();
        ns_->addVeth("lan0", "peer0");
        ns_->addVeth("lan1", "peer1");
        test::DhcpServerOptions dhcp;
        dhcp.serverAddress = "10.77.0.1/24";
        dhcp.rangeFirst = "10.77.0.50";
        dhcp.rangeLast = "10.77.0.60";
        dhcp.router = "10.77.0.1";
        dhcp.dnsServers = {"10.77.0.53", "10.77.0.54"};
        ns_->startDhcpServer("peer0", dhcp);

        // The settings as the window leaves them: the profile folder and the adapter
        // chosen last.
        platform::FileRegistryStore registry(registry_.path());
        Settings settings(registry, nullptr);
        settings.writePath(profiles_.path() + "/");
        settings.storeAdapterChoice("lan0");

        ProfileList list;
        for (const IpProfile& profile : std::vector<IpProfile>{
                 fixedProfile("사무실", "10.77.0.20", "255.255.255.0")
                     .gateway("10.77.0.1")
                     .dns("10.77.0.53", "10.77.0.99"),
                 dhcpProfile("집"), fixedProfile("실험실", "10.88.0.7"),
                 fixedProfile("겹침", "10.77.0.30"), fixedProfile("겹침", "10.77.0.31")}) {
            list.append(profile);
        }
        const auto files = platform::makeSystemFileStore();
        const auto codec = platform::makeCp949Codec();
        ASSERT_TRUE(
            test::succeeded(ProfileDataFile(*files, *codec, profiles_.path() + "/").save(list)));
    }

    // Runs the program with `args` inside the namespace, without a display: the command
    // line needs none, and the window would fail to start without one.
    CommandOutput quorrel(const std::vector<std::string>& args) const {
        std::vector<std::string> argv = {"env",
                                         "-u",
                                         "DISPLAY",
                                         "-u",
                                         "WAYLAND_DISPLAY",
                                         "-u",
                                         "QT_QPA_PLATFORM",
                                         QUORREL_PROGRAM_PATH};
        argv.insert(argv.end(), args.begin(), args.end());
        return ns_->run(
            argv,
            {"QUORREL_REGISTRY_DIR=" + registry_.path(), "QUORREL_NETSH=" QUORREL_NETSH_PATH,
             "QUORREL_IPCONFIG=" QUORREL_IPCONFIG_PATH, "QUORREL_NETSTATE_DIR=" + state_.path(),
             "QUORREL_RESOLV_CONF=/etc/netns/" + ns_->name() + "/resolv.conf",
             "XDG_RUNTIME_DIR=" + runtime_.path()});
    }

    std::string addresses(const std::string& ifname) const {
        std::istringstream in(ns_->run({"ip", "-4", "-o", "addr", "show", "dev", ifname}).output);
        std::string all;
        for (std::string line; std::getline(in, line);) {
            std::istringstream words(line);
            for (std::string word; words >> word;) {
                if (word == "inet" && words >> word) {
                    all += (all.empty() ? "" : " ") + word;
                }
            }
        }
        return all;
    }

    std::string stored() const {
        return folderBytes(registry_.path()) + folderBytes(profiles_.path());
    }

    TempFolder registry_;
    TempFolder profiles_;
    TempFolder state_;
    TempFolder runtime_;
    std::unique_ptr<NetworkNamespace> ns_;
};

TEST_F(CommandLineInNamespace, ListApplyAndStatusReachTheInterfaceAndWriteNoFile) {
    const std::string before = stored();

    CommandOutput out = quorrel({"--list"});
    ASSERT_EQ(out.exitCode, 0) << out.output;
    for (const char* part : {"사무실", "10.77.0.20", "255.255.255.0", "10.77.0.1", "10.77.0.53",
                             "10.77.0.99", "집", "DHCP", "실험실", "10.88.0.7"}) {
        EXPECT_TRUE(contains(out.output, part)) << part << "\n" << out.output;
    }

    // The fixed profile on the remembered adapter: each line reported, each a success.
    out = quorrel({"--apply", "사무실"});
    EXPECT_EQ(out.exitCode, 0) << out.output;
    EXPECT_TRUE(contains(out.output, "\"lan0\"")) << out.output;
    EXPECT_TRUE(contains(out.output, "[1/3]")) << out.output;
    EXPECT_TRUE(contains(out.output, "[3/3]")) << out.output;
    EXPECT_TRUE(contains(out.output, texts::kApplyDoneText)) << out.output;
    EXPECT_EQ(addresses("lan0"), "10.77.0.20/24");
    EXPECT_EQ(addresses("lan1"), "");
    const std::string resolv = ns_->resolvConf();
    EXPECT_TRUE(contains(resolv, "nameserver 10.77.0.53 ")) << resolv;
    EXPECT_LT(resolv.find("nameserver 10.77.0.53 "), resolv.find("nameserver 10.77.0.99 "))
        << resolv;

    // The status report and the in-use mark see the change.
    out = quorrel({"--status"});
    EXPECT_EQ(out.exitCode, 0) << out.output;
    EXPECT_TRUE(contains(out.output, "lan0")) << out.output;
    EXPECT_TRUE(contains(out.output, "10.77.0.20")) << out.output;
    out = quorrel({"--list"});
    EXPECT_TRUE(contains(out.output, "* 사무실")) << out.output;

    // DHCP from the server on the far end, on the adapter named.
    out = quorrel({"--apply", "집", "--adapter", "lan0"});
    EXPECT_EQ(out.exitCode, 0) << out.output;
    EXPECT_TRUE(contains(out.output, "[2/2]")) << out.output;
    const std::string leased = addresses("lan0");
    EXPECT_TRUE(leased.starts_with("10.77.0.5") || leased.starts_with("10.77.0.60")) << leased;
    EXPECT_TRUE(contains(ns_->resolvConf(), "nameserver 10.77.0.53")) << ns_->resolvConf();

    // A fixed profile on the second adapter leaves the first as it is.
    out = quorrel({"--apply", "실험실", "--adapter", "lan1"});
    EXPECT_EQ(out.exitCode, 0) << out.output;
    EXPECT_EQ(addresses("lan1"), "10.88.0.7/24");
    EXPECT_EQ(addresses("lan0"), leased);

    EXPECT_EQ(stored(), before);
}

TEST_F(CommandLineInNamespace, AWindowThatRunsDoesNotStopIt) {
    // The lock of a running window, in the runtime folder the program is given.
    setenv("XDG_RUNTIME_DIR", runtime_.path().c_str(), 1);
    const auto window = platform::makeSystemInstanceLock();
    const auto second = platform::makeSystemInstanceLock();
    unsetenv("XDG_RUNTIME_DIR");
    ASSERT_EQ(window->acquire("Quorrel"), platform::LockResult::Acquired);
    ASSERT_EQ(second->acquire("Quorrel"), platform::LockResult::AlreadyExists);

    CommandOutput out = quorrel({"--list"});
    EXPECT_EQ(out.exitCode, 0) << out.output;
    out = quorrel({"--apply", "사무실"});
    EXPECT_EQ(out.exitCode, 0) << out.output;
    EXPECT_EQ(addresses("lan0"), "10.77.0.20/24");
}

TEST_F(CommandLineInNamespace, BadNamesAreRefusedWithTheirOwnCodesAndChangeNothing) {
    ns_->run({"ip", "addr", "add", "10.77.0.9/24", "dev", "lan0"});
    const struct {
        std::vector<std::string> args;
        ExitCode code;
        const char* says;
    } cases[] = {
        {{"--apply", "없는프로필"}, ExitCode::UnknownProfile, "\"없는프로필\""},
        {{"--apply", "겹침"}, ExitCode::AmbiguousProfile, "\"겹침\""},
        {{"--apply", "사무실", "--adapter", "wlan9"}, ExitCode::UnknownAdapter, "\"wlan9\""},
        {{"--apply"}, ExitCode::BadOptions, "--apply"},
        {{"--frobnicate"}, ExitCode::BadOptions, "--frobnicate"},
    };
    for (const auto& c : cases) {
        const CommandOutput out = quorrel(c.args);
        EXPECT_EQ(out.exitCode, exitStatus(c.code)) << c.args[0] << "\n" << out.output;
        EXPECT_TRUE(contains(out.output, c.says)) << out.output;
    }
    EXPECT_EQ(addresses("lan0"), "10.77.0.9/24");
    EXPECT_EQ(addresses("lan1"), "");
}

TEST_F(CommandLineInNamespace, AnAddressAnotherHostHoldsFailsTheApplyAndSaysWho) {
    ASSERT_EQ(ns_->runInPeer({"ip", "addr", "add", "10.77.0.20/24", "dev", "peer0"}).exitCode, 0);
    ns_->run({"ip", "addr", "add", "10.77.0.9/24", "dev", "lan0"});

    const CommandOutput out = quorrel({"--apply", "사무실"});
    EXPECT_EQ(out.exitCode, exitStatus(ExitCode::Failed)) << out.output;
    EXPECT_TRUE(contains(out.output, "10.77.0.20 is already in use")) << out.output;
    EXPECT_EQ(addresses("lan0"), "10.77.0.9/24");
}

// --check and --try with a profile whose gateway nobody answers for: --check reports it and
// leaves the settings, --try puts back the lease the adapter had, on its own.
TEST_F(CommandLineInNamespace, ATrialOfABadGatewayPutsThePreviousSettingsBack) {
    ProfileList list;
    list.append(dhcpProfile("집"));
    list.append(fixedProfile("엉뚱한 게이트웨이", "10.77.0.21", "255.255.255.0")
                    .gateway("10.77.0.254")
                    .dns("10.77.0.1"));
    const auto files = platform::makeSystemFileStore();
    const auto codec = platform::makeCp949Codec();
    ASSERT_TRUE(
        test::succeeded(ProfileDataFile(*files, *codec, profiles_.path() + "/").save(list)));

    CommandOutput out = quorrel({"--apply", "집"});
    ASSERT_EQ(out.exitCode, 0) << out.output;
    const std::string leased = addresses("lan0");
    ASSERT_FALSE(leased.empty());
    const std::string before = stored();

    out = quorrel({"--apply", "엉뚱한 게이트웨이", "--try", "5"});
    EXPECT_EQ(out.exitCode, exitStatus(ExitCode::PutBack)) << out.output;
    EXPECT_TRUE(contains(out.output, "[실패] 게이트웨이 10.77.0.254: 응답 없음")) << out.output;
    EXPECT_TRUE(contains(out.output, "이전 설정으로 되돌렸습니다.")) << out.output;
    EXPECT_EQ(addresses("lan0"), leased);
    EXPECT_EQ(stored(), before);

    out = quorrel({"--apply", "엉뚱한 게이트웨이", "--check"});
    EXPECT_EQ(out.exitCode, exitStatus(ExitCode::CheckFailed)) << out.output;
    EXPECT_EQ(addresses("lan0"), "10.77.0.21/24");
}

}  // namespace
}  // namespace quorrel
