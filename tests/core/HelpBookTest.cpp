#include <gtest/gtest.h>

#include "app/HelpBook.h"
#include "tests/support/MemoryFileStore.h"

namespace quorrel {
namespace {

TEST(HelpBookLocation, IsTheInstallFolderTheBookAndTheMainPage) {
    EXPECT_EQ(helpTopicLocation("D:\\Tools\\"), "D:\\Tools\\QuorrelHelp.chm::/main/Main.htm");
    EXPECT_EQ(helpTopicLocation("/opt/100%s/"), "/opt/100%s/QuorrelHelp.chm::/main/Main.htm");
}

TEST(HelpBookLocation, SplitsAtTheLastDoubleColon) {
    HelpLocation where = splitHelpLocation("D:\\Tools\\QuorrelHelp.chm::/main/Main.htm");
    EXPECT_EQ(where.book, "D:\\Tools\\QuorrelHelp.chm");
    EXPECT_EQ(where.topic, "/main/Main.htm");

    // A folder name may hold "::" itself; the page is what follows the last one.
    where = splitHelpLocation("/home/a::b/QuorrelHelp.chm::main/Apply.htm");
    EXPECT_EQ(where.book, "/home/a::b/QuorrelHelp.chm");
    EXPECT_EQ(where.topic, "/main/Apply.htm");

    where = splitHelpLocation("/opt/QuorrelHelp.chm");
    EXPECT_EQ(where.book, "/opt/QuorrelHelp.chm");
    EXPECT_EQ(where.topic, "/main/Main.htm");

    where = splitHelpLocation("/opt/QuorrelHelp.chm::");
    EXPECT_EQ(where.topic, "/main/Main.htm");
}

class HelpBookPlacementTest : public ::testing::Test {
protected:
    test::MemoryFileStore files;
    const std::string program = "/usr/lib/quorrel/";
    const std::string install = "/home/kim/Quorrel/";
    const std::string shipped = program + "QuorrelHelp.chm";
    const std::string placed = install + "QuorrelHelp.chm";
};

TEST_F(HelpBookPlacementTest, CopiesAMissingOrOutdatedBookAndLeavesAnEqualOneAlone) {
    files.files[shipped] = "ITSF new";
    files.files[install + "quorrel.dat"] = "data";

    EXPECT_EQ(placeHelpBook(files, program, install), HelpBookPlacement::Copied);
    EXPECT_EQ(files.files[placed], "ITSF new");
    EXPECT_EQ(files.files[install + "quorrel.dat"], "data");

    // Equal: nothing is written (a read-only folder would refuse it).
    files.unwritable[placed] = true;
    EXPECT_EQ(placeHelpBook(files, program, install), HelpBookPlacement::AlreadyThere);

    // The program was updated: its book replaces the old one.
    files.unwritable.clear();
    files.files[placed] = "ITSF old";
    EXPECT_EQ(placeHelpBook(files, program, install), HelpBookPlacement::Copied);
    EXPECT_EQ(files.files[placed], "ITSF new");
}

TEST_F(HelpBookPlacementTest, WithoutABookBesideTheProgramTheInstallFolderIsLeftAlone) {
    files.files[placed] = "ITSF user's own";
    EXPECT_EQ(placeHelpBook(files, program, install), HelpBookPlacement::NoSource);
    EXPECT_EQ(files.files[placed], "ITSF user's own");

    files.files.clear();
    EXPECT_EQ(placeHelpBook(files, program, install), HelpBookPlacement::NoSource);
    EXPECT_EQ(files.files.count(placed), 0u);
}

TEST_F(HelpBookPlacementTest, AFailedCopyIsReportedAndTheProgramFolderMayBeTheInstallFolder) {
    files.files[shipped] = "ITSF";
    files.unwritable[placed] = true;
    EXPECT_EQ(placeHelpBook(files, program, install), HelpBookPlacement::CopyFailed);

    EXPECT_EQ(placeHelpBook(files, program, program), HelpBookPlacement::AlreadyThere);
    EXPECT_EQ(placeHelpBook(files, install, install), HelpBookPlacement::NoSource);
}

}  // namespace
}  // namespace quorrel
