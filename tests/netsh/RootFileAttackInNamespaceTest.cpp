// Attacks of an ordinary user on the files a netsh with rights reads and writes: the
// resolver file reached through the user's folder, state files others may write, leases of
// a rogue DHCP server. Each test takes the attack's steps and shows that root's netsh
// refuses and changes nothing. Real netsh runs as root in network namespaces (and the
// mount namespace each run gets); every "system" file is a stand-in in a folder of the test.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "tests/netsh/NetshNamespaceFixture.h"
#include "tests/support/Succeeded.h"

namespace quorrel::netsh {
namespace {

// The attacker: an ordinary user, only a number here.
constexpr uid_t kUser = 4242;
const std::string kShadow = "root:$y$j9T$stolen-root-hash:19700:0:99999:7:::\n";

class RootFileAttack : public NetshInNamespace {
protected:
    void SetUp() override {
        NetshInNamespace::SetUp();
        if (IsSkipped()) {
            return;
        }
        ASSERT_EQ(::mkdir(etc().c_str(), 0755), 0);
        ASSERT_EQ(::mkdir((etc() + "/ld.so.conf.d").c_str(), 0755), 0);
        test::writeFileBytes(shadow(), kShadow);
        ASSERT_EQ(::chmod(shadow().c_str(), 0600), 0);
        ASSERT_EQ(::mkdir(home().c_str(), 0755), 0);
        ASSERT_EQ(::chown(home().c_str(), kUser, kUser), 0);
    }

    std::string etc() const { return stage_.path() + "etc"; }
    std::string resolvConf() const { return etc() + "/resolv.conf"; }
    std::string shadow() const { return etc() + "/shadow"; }
    std::string home() const { return stage_.path() + "home"; }
    std::string planted() const { return etc() + "/ld.so.conf.d/resolv.conf"; }

    // What the user does in their own folder: the things made are theirs.
    static void userLink(const std::string& target, const std::string& link) {
        ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0) << link;
        ASSERT_EQ(::lchown(link.c_str(), kUser, kUser), 0);
    }
    static void userFolder(const std::string& path) {
        ASSERT_EQ(::mkdir(path.c_str(), 0755), 0) << path;
        ASSERT_EQ(::chown(path.c_str(), kUser, kUser), 0);
    }

    // Runs argv in the namespace with netsh's environment and `env` on top.
    CommandOutput runWith(const std::vector<std::string>& argv, std::vector<std::string> env = {},
                          int timeoutSeconds = 60) {
        env.insert(env.end(),
                   {"QUORREL_NETSTATE_DIR=" + state_.path(), "QUORREL_RESOLV_CONF=" + resolvConf(),
                    "QUORREL_DHCP_WAIT_MS=10000"});
        return ns_->run(argv, env, timeoutSeconds);
    }

    CommandOutput netshWith(std::vector<std::string> args, std::vector<std::string> env = {},
                            int timeoutSeconds = 60) {
        args.insert(args.begin(), QUORREL_NETSH_PATH);
        return runWith(args, std::move(env), timeoutSeconds);
    }

    CommandOutput setDns(const std::string& ifname, const std::string& server,
                         int timeoutSeconds = 60) {
        return netshWith(
            {"interface", "ip", "set", "dns", "name=" + ifname, "source=static", "addr=" + server},
            {}, timeoutSeconds);
    }

    // Whether any file of the user's folder holds a line of the shadow file.
    bool userHoldsShadowLines() const {
        std::error_code ec;
        for (std::filesystem::recursive_directory_iterator it(home(), ec), end; !ec && it != end;
             it.increment(ec)) {
            if (it->is_regular_file(ec) && !it->is_symlink(ec) &&
                test::readFileBytes(it->path().string()).find("stolen-root-hash") !=
                    std::string::npos) {
                return true;
            }
        }
        return false;
    }

    static bool isLink(const std::string& path) {
        struct stat info {};
        return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
    }

    static bool exists(const std::string& path) {
        struct stat info {};
        return ::lstat(path.c_str(), &info) == 0;
    }

    void expectShadowUntouched() const {
        EXPECT_EQ(test::readFileBytes(shadow()), kShadow);
        struct stat info {};
        ASSERT_EQ(::stat(shadow().c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0600u);
        EXPECT_EQ(info.st_uid, 0u);
    }

    // Removed after the namespace: the stand-ins of /etc and of the user's folder.
    test::TempFolder stage_;
};

// /etc/resolv.conf is root's link into the user's folder; the user makes the link's target
// a link to /etc/shadow; root sets a DNS server.
TEST_F(RootFileAttack, TheShadowFileBehindTheUsersLinkIsNeitherReadNorCopied) {
    ASSERT_EQ(::symlink((home() + "/resolv.conf").c_str(), resolvConf().c_str()), 0);
    userLink(shadow(), home() + "/resolv.conf");

    const CommandOutput out = setDns("lan0", "192.0.2.53");

    EXPECT_EQ(out.exitCode, 1) << out.output;
    EXPECT_NE(out.output.find("is not safe to use"), std::string::npos) << out.output;
    EXPECT_TRUE(isLink(home() + "/resolv.conf"));
    EXPECT_FALSE(userHoldsShadowLines());
    expectShadowUntouched();
}

// A folder on the way to the file, the user's, swapped for a link to /etc/ld.so.conf.d:
// root must not create resolv.conf there.
TEST_F(RootFileAttack, AFolderSwappedForALinkDoesNotMakeRootCreateFilesElsewhere) {
    ASSERT_EQ(::symlink((home() + "/net/resolv.conf").c_str(), resolvConf().c_str()), 0);
    userFolder(home() + "/net");
    ASSERT_EQ(::rmdir((home() + "/net").c_str()), 0);
    userLink(etc() + "/ld.so.conf.d", home() + "/net");

    const CommandOutput out = setDns("lan0", "192.0.2.53");

    EXPECT_EQ(out.exitCode, 1) << out.output;
    EXPECT_NE(out.output.find("is not safe to use"), std::string::npos) << out.output;
    EXPECT_FALSE(exists(planted()));
}

// The same folder and link exchanged over and over (renameat2 RENAME_EXCHANGE) while root
// runs, so that its check and its write may see different ones.
TEST_F(RootFileAttack, RacingAFolderAgainstALinkDoesNotMakeRootCreateFilesElsewhere) {
    ASSERT_EQ(::symlink((home() + "/net/resolv.conf").c_str(), resolvConf().c_str()), 0);
    userFolder(home() + "/net");
    test::writeFileBytes(home() + "/net/resolv.conf", "nameserver 192.0.2.1\n");
    userLink(etc() + "/ld.so.conf.d", home() + "/swap");
    std::atomic<bool> done{false};
    std::atomic<long> swaps{0};
    std::thread racer([&] {
        while (!done) {
            if (::renameat2(AT_FDCWD, (home() + "/net").c_str(), AT_FDCWD,
                            (home() + "/swap").c_str(), RENAME_EXCHANGE) == 0) {
                ++swaps;
            }
        }
    });
    int refused = 0;
    constexpr int kRuns = 20;
    for (int i = 0; i < kRuns && !exists(planted()); ++i) {
        const CommandOutput out = setDns("lan0", "192.0.2." + std::to_string(10 + i));
        refused += out.exitCode == 1 ? 1 : 0;
    }
    done = true;
    racer.join();
    EXPECT_GT(swaps.load(), 0);
    EXPECT_FALSE(exists(planted()));
    EXPECT_EQ(refused, kRuns);
}

// A FIFO in place of the file, the user's or even root's own: netsh says no at once and does
// not wait for a writer while it holds its locks.
TEST_F(RootFileAttack, AFifoInPlaceOfTheFileIsRefusedAtOnce) {
    struct Case {
        const char* what;
        bool usersFolder;
    };
    for (const Case& c : {Case{"in the user's folder", true}, Case{"root's own", false}}) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(resolvConf());
        const std::string fifo = c.usersFolder ? home() + "/resolv.conf" : resolvConf();
        std::filesystem::remove(fifo);
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
        if (c.usersFolder) {
            ASSERT_EQ(::chown(fifo.c_str(), kUser, kUser), 0);
            ASSERT_EQ(::symlink(fifo.c_str(), resolvConf().c_str()), 0);
        }
        const CommandOutput out = setDns("lan0", "192.0.2.53", 20);
        EXPECT_EQ(out.exitCode, 1) << out.output;
        EXPECT_NE(out.output.find("is not safe to use"), std::string::npos) << out.output;
        struct stat info {};
        ASSERT_EQ(::lstat(fifo.c_str(), &info), 0);
        EXPECT_TRUE(S_ISFIFO(info.st_mode));
    }
}

// Links and folders that are root's alone still lead to the file, as a resolver managed
// elsewhere (a link to ../run/resolver/resolv.conf) has it.
TEST_F(RootFileAttack, RootsOwnLinksAreFollowedAndStayLinks) {
    ASSERT_EQ(::mkdir((stage_.path() + "run").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((stage_.path() + "run/resolver").c_str(), 0755), 0);
    const std::string managed = stage_.path() + "run/resolver/resolv.conf";
    test::writeFileBytes(managed, "search corp.test\n");
    ASSERT_EQ(::symlink("../run/resolver/resolv.conf", resolvConf().c_str()), 0);

    const CommandOutput out = setDns("lan0", "192.0.2.53");

    ASSERT_EQ(out.exitCode, 0) << out.output;
    EXPECT_TRUE(isLink(resolvConf()));
    EXPECT_EQ(nameservers(test::readFileBytes(managed)), std::vector<std::string>{"192.0.2.53"});
}

// netsh started with umask 000 for one adapter; another user writes DNS poison into the
// state file it left; the next root run, for another adapter, puts every adapter's servers
// into the resolver file.
TEST_F(RootFileAttack, AStateFileOfARunWithUmask000CannotBePoisonedByAnotherUser) {
    ns_->addVeth("lan1", "peer1");
    ASSERT_EQ(::chmod(state_.path().c_str(), 0755), 0);  // as the fixed state folder is
    test::writeFileBytes(resolvConf(), "search corp.test\n");
    const CommandOutput first =
        runWith({"sh", "-c", "umask 000; exec \"$0\" \"$@\"", QUORREL_NETSH_PATH, "interface", "ip",
                 "set", "dns", "name=lan0", "source=static", "addr=192.0.2.53"});
    ASSERT_EQ(first.exitCode, 0) << first.output;
    const std::string stateFile = platform::interfaceStatePath(state_.path(), "lan0");

    const CommandOutput poison = test::runCommand(
        {"setpriv", "--reuid=" + std::to_string(kUser), "--regid=" + std::to_string(kUser),
         "--clear-groups", "sh", "-c",
         "printf 'dns=6.6.6.6 options ndots:30 attempts:5\\n' >> \"$0\"", stateFile});
    const CommandOutput next = setDns("lan1", "192.0.2.54");

    struct stat info {};
    ASSERT_EQ(::stat(stateFile.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
    EXPECT_NE(poison.exitCode, 0) << "the other user could write the state file";
    EXPECT_EQ(next.exitCode, 0) << next.output;
    const std::string conf = test::readFileBytes(resolvConf());
    EXPECT_EQ(conf.find("6.6.6.6"), std::string::npos) << conf;
    EXPECT_EQ(conf.find("ndots"), std::string::npos) << conf;
}

// A state file that netsh cannot have written as it stands, left for another adapter: the
// root run refuses, names the file and leaves the resolver file as it was.
TEST_F(RootFileAttack, AStateFileNetshCannotHaveWrittenIsRefused) {
    struct Case {
        const char* what;
        mode_t mode;
        uid_t owner;
        std::string text;
    };
    const std::string dhcpLease =
        "address-source=dhcp\ndns-source=dhcp\nlease-mask=255.255.255.0\n"
        "lease-router=10.9.0.1\n";
    const std::vector<Case> cases = {
        {"writable by others", 0666, 0, "dns-source=static\ndns=192.0.2.53\n"},
        {"another user's", 0644, kUser, "dns-source=static\ndns=192.0.2.53\n"},
        {"dns= with resolver options", 0644, 0,
         "dns-source=static\ndns=6.6.6.6 options ndots:30 attempts:5\n"},
        {"lease-dns= with resolver options", 0644, 0,
         dhcpLease + "lease-address=10.9.0.50\nlease-dns=6.6.6.6 options ndots:30\n"},
        {"a broadcast lease address", 0644, 0,
         dhcpLease + "lease-address=10.9.0.255\nlease-dns=192.0.2.53\n"},
    };
    ns_->addVeth("lan1", "peer1");
    const std::string before = "search corp.test\n";
    const std::string stateFile = platform::interfaceStatePath(state_.path(), "lan0");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::writeFileBytes(resolvConf(), before);
        test::writeFileBytes(stateFile, c.text);
        ASSERT_EQ(::chmod(stateFile.c_str(), c.mode), 0);
        ASSERT_EQ(::chown(stateFile.c_str(), c.owner, c.owner), 0);

        const CommandOutput out = setDns("lan1", "192.0.2.54");

        EXPECT_EQ(out.exitCode, 1) << out.output;
        EXPECT_NE(out.output.find("lan0.state is refused: "), std::string::npos) << out.output;
        EXPECT_EQ(test::readFileBytes(resolvConf()), before);
    }
}

// A rogue DHCP server's lease, as the DHCP client hands it to netsh's event script, on an
// interface whose address comes from DHCP: refused with the reason, the link left alone.
TEST_F(RootFileAttack, ALeaseFailingTheChecksOfAFixedAddressIsNotApplied) {
    struct Case {
        const char* ip;
        const char* router;
        const char* why;
    };
    const Case cases[] = {
        {"10.88.0.255", "10.88.0.255", "is the network or broadcast address of its subnet"},
        {"10.88.0.7", "10.88.0.0", "10.88.0.0 cannot be a gateway"},
        {"10.88.0.7", "10.89.0.1", "is not in the subnet"},
        {"10.88.0.7", "10.88.0.7", "cannot be the interface's own address"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ip) + " router " + c.router);
        InterfaceState dhcp;
        dhcp.dhcp = true;
        ASSERT_TRUE(test::succeeded(platform::writeInterfaceState(state_.path(), "lan0", dhcp)));

        const CommandOutput out = netshWith(
            {"bound"}, {"QUORREL_DHCP_HOOK=1", "interface=lan0", std::string("ip=") + c.ip,
                        "subnet=255.255.255.0", std::string("router=") + c.router,
                        "serverid=10.88.0.1", "lease=3600"});

        EXPECT_EQ(out.exitCode, 1) << out.output;
        EXPECT_NE(out.output.find("is refused: "), std::string::npos) << out.output;
        EXPECT_NE(out.output.find(c.why), std::string::npos) << out.output;
        EXPECT_EQ(addresses(), "");
        EXPECT_EQ(defaultRoutes(), "");
        EXPECT_FALSE(recorded().lease);
        EXPECT_NE(recorded().refusedLease.find(c.why), std::string::npos);
    }
}

// The whole road: `set address dhcp` on an interface with a fixed address, and the only
// DHCP server makes the network address the gateway. The apply fails with the reason and
// the fixed address is back.
TEST_F(RootFileAttack, ARogueLeaseFailsTheApplyAndPutsTheOldSettingsBack) {
    startDhcpServer("10.77.0.0");
    if (IsSkipped()) {
        return;
    }
    test::writeFileBytes(resolvConf(), "search corp.test\n");
    const CommandOutput fixed =
        netshWith({"interface", "ip", "set", "address", "lan0", "source=static", "addr=10.77.0.9",
                   "mask=255.255.255.0", "gateway=10.77.0.1", "1"});
    ASSERT_EQ(fixed.exitCode, 0) << fixed.output;

    const CommandOutput out =
        netshWith({"interface", "ip", "set", "address", "lan0", "source=dhcp"});

    EXPECT_EQ(out.exitCode, 1) << out.output;
    EXPECT_NE(out.output.find("10.77.0.0 cannot be a gateway"), std::string::npos) << out.output;
    EXPECT_NE(out.output.find("the previous settings of lan0 were put back"), std::string::npos)
        << out.output;
    EXPECT_EQ(addresses(), "10.77.0.9/24");
    EXPECT_EQ(defaultRoutes(), "default via 10.77.0.1 dev lan0 metric 1");
    EXPECT_EQ(recorded().dhcp, false);
    EXPECT_FALSE(platform::dhcpClientRunning(state_.path(), "lan0"));
}

}  // namespace
}  // namespace quorrel::netsh
