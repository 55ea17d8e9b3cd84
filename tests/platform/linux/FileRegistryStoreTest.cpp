#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "platform/registry/linux/FileRegistryStore.h"
#include "tests/platform/linux/ScratchUser.h"
#include "tests/support/TempFolder.h"

namespace quorrel {
namespace {

using platform::FileRegistryStore;
using platform::RegAccess;
using platform::RegistryKey;
using platform::RegStatus;

std::set<std::string> filesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

std::unique_ptr<RegistryKey> openKey(FileRegistryStore& store, const char* path) {
    std::unique_ptr<RegistryKey> key;
    EXPECT_EQ(store.openKey(path, RegAccess::AllAccess, key), RegStatus::Ok) << path;
    return key;
}

TEST(RegistryStoreFile, IsWrittenInTheRegStyleAndReadBackFromAHandEditedFile) {
    test::TempFolder folder;
    FileRegistryStore store(folder.path());
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(store.createKey("SOFTWARE\\Varnok\\Quorrel", key), RegStatus::Ok);
    key->setString("PATH", "C:\\집 \"1\"");
    key->setDword("AutoCheck", 26);
    key->setString("AdapterName", "line\nbreak");

    EXPECT_EQ(test::readFileBytes(folder.file("HKEY_LOCAL_MACHINE.reg")),
              "; HKEY_LOCAL_MACHINE\n"
              "\n[SOFTWARE]\n"
              "\n[SOFTWARE\\Varnok]\n"
              "\n[SOFTWARE\\Varnok\\Quorrel]\n"
              "\"PATH\"=\"C:\\\\집 \\\"1\\\"\"\n"
              "\"AutoCheck\"=dword:0000001a\n"
              "\"AdapterName\"=\"line\\nbreak\"\n");

    // Comments, CR LF line ends, upper-case digits and a key whose parents are implied.
    test::writeFileBytes(folder.file("HKEY_LOCAL_MACHINE.reg"),
                         "; edited by hand\r\n"
                         "[SOFTWARE\\Varnok\\Tessup]\r\n"
                         "\"PATH\"=\"/opt/tessup\"\r\n"
                         "\"Count\"=dword:FF\r\n");
    auto tessup = openKey(store, "software\\varnok\\tessup");
    ASSERT_NE(tessup, nullptr);
    std::string text;
    std::uint32_t number = 0;
    EXPECT_EQ(tessup->queryString("PATH", 1024, text), RegStatus::Ok);
    EXPECT_EQ(text, "/opt/tessup");
    EXPECT_EQ(tessup->queryDword("Count", number), RegStatus::Ok);
    EXPECT_EQ(number, 255u);
    EXPECT_NE(openKey(store, "SOFTWARE\\Varnok"), nullptr);
    std::unique_ptr<RegistryKey> gone;
    EXPECT_EQ(store.openKey("SOFTWARE\\Varnok\\Quorrel", RegAccess::Read, gone),
              RegStatus::NotFound);
}

// What a person wrote stays through rewrites: comments and blank lines in place, and a value
// and a key written twice in another letter case both kept; the last one counts.
TEST(RegistryStoreFile, RewritesKeepCommentsBlankLinesAndEveryValueAsWritten) {
    test::TempFolder folder;
    const std::string hive = folder.file("HKEY_LOCAL_MACHINE.reg");
    const std::string handWritten =
        "; my settings, kept by hand\n"
        "\n"
        "[SOFTWARE\\Varnok\\Quorrel]\n"
        "; the folder I chose first\n"
        "\"PATH\"=\"/home/kim/a\"\n"
        "\"path\"=\"/home/kim/b\"\n"
        "\n"
        "[software\\varnok\\quorrel]\n"
        "\"AutoCheck\"=dword:00000000\n"
        "; end of my notes\n";
    test::writeFileBytes(hive, handWritten);
    FileRegistryStore store(folder.path());
    auto key = openKey(store, "SOFTWARE\\Varnok\\Quorrel");
    ASSERT_NE(key, nullptr);
    std::string text;
    EXPECT_EQ(key->queryString("PATH", 1024, text), RegStatus::Ok);
    EXPECT_EQ(text, "/home/kim/b");

    ASSERT_EQ(key->setDword("AutoCheck", 1), RegStatus::Ok);
    ASSERT_EQ(key->setString("AdapterName", "eth0"), RegStatus::Ok);
    ASSERT_EQ(key->setString("Path", "/home/kim/c"), RegStatus::Ok);
    std::unique_ptr<RegistryKey> tessup;
    ASSERT_EQ(store.createKey("SOFTWARE\\Varnok\\Tessup", tessup), RegStatus::Ok);

    EXPECT_EQ(test::readFileBytes(hive),
              "; my settings, kept by hand\n"
              "\n"
              "[SOFTWARE\\Varnok\\Quorrel]\n"
              "; the folder I chose first\n"
              "\"PATH\"=\"/home/kim/a\"\n"
              "\"path\"=\"/home/kim/c\"\n"
              "\n"
              "[software\\varnok\\quorrel]\n"
              "\"AutoCheck\"=dword:00000001\n"
              "\"AdapterName\"=\"eth0\"\n"
              "; end of my notes\n"
              "\n"
              "[SOFTWARE\\Varnok\\Tessup]\n");
    EXPECT_EQ(key->queryString("path", 1024, text), RegStatus::Ok);
    EXPECT_EQ(text, "/home/kim/c");

    // A file with CR LF line ends gets CR LF lines.
    test::writeFileBytes(hive, "; kept\r\n[A]\r\n");
    auto a = openKey(store, "A");
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(a->setDword("N", 2), RegStatus::Ok);
    EXPECT_EQ(test::readFileBytes(hive), "; kept\r\n[A]\r\n\"N\"=dword:00000002\r\n");

    // Lines of other ends than the first one's keep theirs, a comment its CRs.
    test::writeFileBytes(hive, "; kept\n[A]\r\n; CRs\r\r\r\n");
    ASSERT_EQ(a->setDword("N", 3), RegStatus::Ok);
    EXPECT_EQ(test::readFileBytes(hive), "; kept\n[A]\r\n\"N\"=dword:00000003\n; CRs\r\r\r\n");
}

TEST(RegistryStoreFile, ADamagedFileCountsAsEmptyAndIsKeptAsideBeforeTheNextWrite) {
    const char* const damagedFiles[] = {
        "[SOFTWARE\\Varnok\\Tessup]\n\"PATH\"=\"/opt/tessup\n",       // unclosed text
        "[SOFTWARE\\Varnok\\Tessup]\n\"PATH\"=hex:2f,6f\n",           // unknown type
        "\"PATH\"=\"/opt\"\n[SOFTWARE\\Varnok\\Tessup]\n",            // value before key
        "[SOFTWARE\\Varnok\\Tessup]\n\"N\"=dword:123456789\n",        // nine digits
        "[SOFTWARE\\Varnok\\Tessup\n",                                // unclosed key
        "[SOFTWARE\\Varnok\\Tessup]\ngarbage\n",                      // stray line
        "[SOFTWARE\\Varnok\\Tessup]\n\"PATH\"=\"bad \\q escape\"\n",  // unknown escape
        "[SOFTWARE\\\\Tessup]\n",                                     // empty name
    };
    for (const char* damaged : damagedFiles) {
        SCOPED_TRACE(damaged);
        test::TempFolder folder;
        const std::string hive = folder.file("HKEY_LOCAL_MACHINE.reg");
        test::writeFileBytes(hive, damaged);
        FileRegistryStore store(folder.path());

        testing::internal::CaptureStderr();
        std::unique_ptr<RegistryKey> key;
        EXPECT_EQ(store.openKey("SOFTWARE\\Varnok\\Tessup", RegAccess::Read, key),
                  RegStatus::NotFound);
        EXPECT_NE(testing::internal::GetCapturedStderr().find("is damaged"), std::string::npos);
        EXPECT_EQ(test::readFileBytes(hive), damaged);  // reading changes nothing

        testing::internal::CaptureStderr();
        ASSERT_EQ(store.createKey("SOFTWARE\\Varnok\\Quorrel", key), RegStatus::Ok);
        ASSERT_EQ(key->setDword("AutoCheck", 0), RegStatus::Ok);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("HKEY_LOCAL_MACHINE.reg.damaged"), std::string::npos) << said;

        EXPECT_EQ(test::readFileBytes(folder.file("HKEY_LOCAL_MACHINE.reg.damaged")), damaged);
        std::uint32_t number = 5;
        EXPECT_EQ(openKey(store, "SOFTWARE\\Varnok\\Quorrel")->queryDword("AutoCheck", number),
                  RegStatus::Ok);
        EXPECT_EQ(number, 0u);
    }
}

TEST(RegistryStoreFile, ASecondDamagedFileDoesNotReplaceTheFirstOneKeptAside) {
    test::TempFolder folder;
    const std::string hive = folder.file("HKEY_LOCAL_MACHINE.reg");
    FileRegistryStore store(folder.path());
    std::unique_ptr<RegistryKey> key;
    for (const char* damaged : {"first damage\n", "second damage\n"}) {
        test::writeFileBytes(hive, damaged);
        testing::internal::CaptureStderr();
        ASSERT_EQ(store.createKey("SOFTWARE\\Varnok\\Quorrel", key), RegStatus::Ok);
        testing::internal::GetCapturedStderr();
    }
    EXPECT_EQ(test::readFileBytes(hive + ".damaged"), "first damage\n");
    EXPECT_EQ(test::readFileBytes(hive + ".damaged.1"), "second damage\n");
}

TEST(RegistryStoreFile, WritersInTwoProcessesKeepBothSetsOfValuesAndNoTemporaryFiles) {
    test::TempFolder folder;
    {
        FileRegistryStore store(folder.path());
        std::unique_ptr<RegistryKey> key;
        ASSERT_EQ(store.createKey("SOFTWARE\\Varnok\\Quorrel", key), RegStatus::Ok);
    }
    constexpr int kValuesEach = 40;
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            FileRegistryStore store(folder.path());
            std::unique_ptr<RegistryKey> key;
            if (store.openKey("SOFTWARE\\Varnok\\Quorrel", RegAccess::AllAccess, key) !=
                RegStatus::Ok) {
                ::_exit(2);
            }
            for (int i = 0; i < kValuesEach; ++i) {
                const std::string name = std::to_string(c) + "-" + std::to_string(i);
                if (key->setString(name, name) != RegStatus::Ok) {
                    ::_exit(3);
                }
            }
            ::_exit(0);
        }
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }

    FileRegistryStore store(folder.path());
    auto key = openKey(store, "SOFTWARE\\Varnok\\Quorrel");
    ASSERT_NE(key, nullptr);
    for (int c = 0; c < 2; ++c) {
        for (int i = 0; i < kValuesEach; ++i) {
            const std::string name = std::to_string(c) + "-" + std::to_string(i);
            std::string value;
            EXPECT_EQ(key->queryString(name, 255, value), RegStatus::Ok) << name;
            EXPECT_EQ(value, name);
        }
    }
    EXPECT_EQ(filesIn(folder.path()),
              (std::set<std::string>{"HKEY_LOCAL_MACHINE.reg", "HKEY_LOCAL_MACHINE.reg.lock"}));
}

// A run as root used to leave a lock file that only root could open in the user's folder,
// and every later write of the user failed.
TEST(RegistryStoreFile, ALockFileLeftByRootDoesNotStopTheUsersWrites) {
    test::ScratchUser user;
    if (!user.made()) {
        GTEST_SKIP() << user.whyNot();
    }
    test::TempFolder base;
    const std::string folder = base.file("registry");
    std::filesystem::create_directory(folder);
    ASSERT_EQ(::chown(folder.c_str(), user.uid(), user.gid()), 0);
    const std::string lock = folder + "/HKEY_LOCAL_MACHINE.reg.lock";
    const auto userWrites = [&](const std::string& value) {
        return user.runAs([&] {
            FileRegistryStore store(folder);
            std::unique_ptr<RegistryKey> key;
            if (store.createKey("SOFTWARE\\Varnok\\Quorrel", key) != RegStatus::Ok) {
                return 1;
            }
            return key->setString("AdapterName", value) == RegStatus::Ok ? 0 : 2;
        });
    };

    for (const mode_t mode : {mode_t{0644}, mode_t{0600}}) {
        test::writeFileBytes(lock, "");  // root's, as an earlier version left it
        ASSERT_EQ(::chmod(lock.c_str(), mode), 0);
        EXPECT_EQ(userWrites("eth" + std::to_string(mode)), 0) << std::oct << mode;
    }

    // Root writing in the user's folder now leaves the files to the user.
    std::filesystem::remove(lock);
    {
        FileRegistryStore store(folder);
        auto key = openKey(store, "SOFTWARE\\Varnok\\Quorrel");
        ASSERT_NE(key, nullptr);
        ASSERT_EQ(key->setDword("AutoCheck", 1), RegStatus::Ok);
    }
    for (const std::string& file : {lock, folder + "/HKEY_LOCAL_MACHINE.reg"}) {
        struct stat info {};
        ASSERT_EQ(::stat(file.c_str(), &info), 0) << file;
        EXPECT_EQ(info.st_uid, user.uid()) << file;
    }
    EXPECT_EQ(userWrites("eth1"), 0);
}

// A writer killed in the middle of its writes, again and again: the store file stays whole
// and the next write leaves no temporary file beside it.
TEST(RegistryStoreFile, WritersKilledMidWriteLeaveAWholeFileAndNoTemporaryFiles) {
    test::TempFolder folder;
    const std::string big(100000, 'v');
    for (int kill = 0; kill < 50; ++kill) {
        int progress[2];
        ASSERT_EQ(::pipe(progress), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(progress[0]);
            FileRegistryStore store(folder.path());
            std::unique_ptr<RegistryKey> key;
            if (store.createKey("SOFTWARE\\Varnok\\Quorrel", key) != RegStatus::Ok) {
                ::_exit(1);
            }
            for (int write = 0;; ++write) {
                if (::write(progress[1], "w", 1) != 1 ||
                    key->setString("Big", big + std::to_string(write)) != RegStatus::Ok) {
                    ::_exit(2);
                }
            }
        }
        ::close(progress[1]);
        char byte = 0;
        for (int seen = 0; seen < 1 + kill % 3; ++seen) {
            ASSERT_EQ(::read(progress[0], &byte, 1), 1) << "the writer ended by itself";
        }
        ::kill(child, SIGKILL);
        ASSERT_EQ(::waitpid(child, nullptr, 0), child);
        ::close(progress[0]);

        FileRegistryStore store(folder.path());
        std::unique_ptr<RegistryKey> key;
        testing::internal::CaptureStderr();
        ASSERT_EQ(store.openKey("SOFTWARE\\Varnok\\Quorrel", RegAccess::Read, key), RegStatus::Ok);
        ASSERT_EQ(testing::internal::GetCapturedStderr(), "") << "after kill " << kill;
    }
    FileRegistryStore store(folder.path());
    auto key = openKey(store, "SOFTWARE\\Varnok\\Quorrel");
    ASSERT_NE(key, nullptr);
    ASSERT_EQ(key->setDword("AutoCheck", 1), RegStatus::Ok);
    EXPECT_EQ(filesIn(folder.path()),
              (std::set<std::string>{"HKEY_LOCAL_MACHINE.reg", "HKEY_LOCAL_MACHINE.reg.lock"}));
}

TEST(RegistryStoreFile, LivesWhereQuorrelRegistryDirSaysOrInTheConfigurationFolder) {
    test::TempFolder folder;
    const char* const saved = std::getenv("XDG_CONFIG_HOME");
    const std::string savedConfig = saved != nullptr ? saved : "";

    ::setenv("QUORREL_REGISTRY_DIR", (folder.path() + "custom").c_str(), 1);
    EXPECT_EQ(platform::registryStoreFolder(), folder.path() + "custom");
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(platform::makeSystemRegistryStore()->createKey("SOFTWARE\\Varnok", key),
              RegStatus::Ok);
    EXPECT_TRUE(std::filesystem::exists(folder.file("custom/HKEY_LOCAL_MACHINE.reg")));

    ::unsetenv("QUORREL_REGISTRY_DIR");
    ::setenv("XDG_CONFIG_HOME", (folder.path() + "config").c_str(), 1);
    EXPECT_EQ(platform::registryStoreFolder(), folder.path() + "config/quorrel/registry");

    if (saved != nullptr) {
        ::setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
}

TEST(RegistryStoreFile, RefusesKeyPathsTheRegistryWouldNotAccept) {
    test::TempFolder folder;
    FileRegistryStore store(folder.path());
    std::unique_ptr<RegistryKey> key;
    for (const char* bad : {"", "\\SOFTWARE", "SOFTWARE\\", "SOFTWARE\\\\Varnok", "A\nB"}) {
        EXPECT_EQ(store.createKey(bad, key), RegStatus::Failed) << bad;
        EXPECT_EQ(store.openKey(bad, RegAccess::Read, key), RegStatus::Failed) << bad;
    }
    EXPECT_FALSE(std::filesystem::exists(store.filePath()));
}

}  // namespace
}  // namespace quorrel
