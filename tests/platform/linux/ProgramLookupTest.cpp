#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

#include "platform/ProcessRunner.h"
#include "system/linux/InstalledLayout.h"
#include "system/linux/ProgramLookup.h"
#include "tests/helpers/TestChildPath.h"
#include "tests/support/TempFolder.h"

namespace quorrel::system {
namespace {

class ProgramLookupTest : public ::testing::Test {
protected:
    std::string program(const std::string& folder, const std::string& name,
                        bool executable = true) {
        ::mkdir(folder.c_str(), 0755);
        const std::string path = folder + "/" + name;
        test::writeFileBytes(path, "#!/bin/sh\n");
        ::chmod(path.c_str(), executable ? 0755 : 0644);
        return path;
    }
    std::string find(const std::string& name) {
        reason.clear();
        return findProgram(name, lookup, reason);
    }

    test::TempFolder temp;
    std::string own = temp.path() + "bin";
    std::string first = temp.path() + "first";
    std::string second = temp.path() + "second";
    ProgramLookup lookup{own + "/", first + ":" + second, "", ""};
    std::string reason;
};

TEST_F(ProgramLookupTest, NetshAndIpconfigAreOurProgramsBesideTheRunningOne) {
    const std::string netsh = program(own, "netsh");
    const std::string ipconfig = program(own, "ipconfig");
    program(first, "netsh.exe");  // a netsh.exe in PATH is not ours
    EXPECT_EQ(find("netsh.exe"), netsh);
    EXPECT_EQ(find("NETSH.EXE"), netsh);
    EXPECT_EQ(find("netsh"), netsh);
    EXPECT_EQ(find("ipconfig.exe"), ipconfig);

    lookup.netshProgram = program(second, "stand-in");
    EXPECT_EQ(find("netsh.exe"), lookup.netshProgram);
}

TEST_F(ProgramLookupTest, MissingNetshIsReportedNotSearchedElsewhere) {
    program(first, "netsh");
    EXPECT_EQ(find("netsh.exe"), "");
    EXPECT_NE(reason.find(own + "/netsh"), std::string::npos);
}

TEST_F(ProgramLookupTest, OtherNamesComeFromPathInOrder) {
    program(first, "tool", false);  // not executable: passed over
    const std::string tool = program(second, "tool");
    EXPECT_EQ(find("tool"), tool);
    EXPECT_EQ(find("tool.exe"), tool);  // the trailing .exe may be dropped

    const std::string first_tool = program(first, "tool.exe");
    EXPECT_EQ(find("tool.exe"), first_tool);  // ... but a real tool.exe comes first

    EXPECT_EQ(find("absent.exe"), "");
    EXPECT_FALSE(reason.empty());
}

TEST_F(ProgramLookupTest, ANameWithASlashIsTakenAsItStands) {
    const std::string tool = program(second, "tool");
    EXPECT_EQ(find(tool), tool);
    EXPECT_EQ(find(first + "/tool"), "");
}

TEST(NetshStandIn, TheBareNameStartsTheProgramNamedByTheEnvironment) {
    test::TempFolder folder;
    const std::string file = folder.file("ran.txt");
    ::setenv("QUORREL_NETSH", test::testChildProgram().c_str(), 1);
    const platform::ProcessOutcome outcome =
        platform::makeSystemProcessRunner()->runAndWait("netsh.exe append \"" + file + "\" netsh");
    ::unsetenv("QUORREL_NETSH");
    EXPECT_TRUE(outcome.succeeded()) << outcome.reason;
    EXPECT_EQ(test::readFileBytes(file), "netsh\n");
}

TEST(NetshStandIn, WhatTheLineWroteOnStandardErrorComesBackBounded) {
    test::TempFolder folder;
    const std::string script = folder.file("netsh");
    std::ofstream(script) << "#!/bin/sh\n"
                             "echo 'netsh: Not authorized to control networking' >&2\n"
                             "[ \"$1\" = long ] && head -c 10000 /dev/zero | tr '\\0' x >&2\n"
                             "exit 4\n";
    ::chmod(script.c_str(), 0755);
    ::setenv("QUORREL_NETSH", script.c_str(), 1);
    const auto runner = platform::makeSystemProcessRunner();
    const platform::ProcessOutcome said = runner->runAndWait("netsh.exe short");
    const platform::ProcessOutcome long_ = runner->runAndWait("netsh.exe long");
    ::unsetenv("QUORREL_NETSH");
    EXPECT_EQ(said.kind, platform::ProcessOutcome::Kind::Exited);
    EXPECT_EQ(said.exitCode, 4);
    EXPECT_EQ(said.errorText, "netsh: Not authorized to control networking");
    EXPECT_EQ(long_.exitCode, 4);
    EXPECT_EQ(long_.errorText.size(), platform::ProcessOutcome::kErrorTextLimit);
}

TEST(InstalledLayout, TheInstalledProgramFindsItsPartsInThePackagesFolders) {
    EXPECT_EQ(helperFolderFor("/usr/bin/"), "/usr/libexec/quorrel/");
    EXPECT_EQ(sharedDataFolderFor("/usr/bin/"), "/usr/share/quorrel/");
    // The window program, started by the program from the helper folder.
    EXPECT_EQ(helperFolderFor("/usr/libexec/quorrel/"), "/usr/libexec/quorrel/");
    EXPECT_EQ(sharedDataFolderFor("/usr/libexec/quorrel/"), "/usr/share/quorrel/");
    // A build folder keeps everything beside the program.
    EXPECT_EQ(helperFolderFor("/work/build/default/bin/"), "/work/build/default/bin/");
    EXPECT_EQ(sharedDataFolderFor("/work/build/default/bin/"), "/work/build/default/bin/");
}

}  // namespace
}  // namespace quorrel::system
