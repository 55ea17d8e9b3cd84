#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "platform/registry/linux/FileRegistryStore.h"
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
