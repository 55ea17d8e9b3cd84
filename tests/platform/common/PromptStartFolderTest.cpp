#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/PromptStartFolder.h"
#include "tests/support/TempFolder.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;

class PromptStartFolderTest : public ::testing::Test {
protected:
    fs::path under(const char* relative) const { return fs::path(root.path()) / relative; }

    test::TempFolder root;
};

TEST_F(PromptStartFolderTest, ACancelledPromptLeavesNoFolderItMade) {
    platform::PromptStartFolder start(under("share/Varnok/Quorrel").string());
    ASSERT_TRUE(fs::is_directory(under("share/Varnok/Quorrel")));
    EXPECT_EQ(start.created().size(), 3u);
    start.finish(std::nullopt);
    EXPECT_FALSE(fs::exists(under("share")));
    EXPECT_TRUE(fs::is_directory(root.path()));
}

TEST_F(PromptStartFolderTest, TheChosenFolderAndItsParentsStay) {
    struct Case {
        const char* chosen;
        const char* staying;  // the deepest of the made folders that stays, or none
        const char* gone;     // the highest of the made folders that goes, or none
    };
    const Case cases[] = {
        {"share/Varnok/Quorrel", "share/Varnok/Quorrel", nullptr},
        {"share/Varnok/Quorrel/", "share/Varnok/Quorrel", nullptr},
        {"share/Varnok", "share/Varnok", "share/Varnok/Quorrel"},
        {"elsewhere", nullptr, "share"},
    };
    for (const Case& c : cases) {
        fs::remove_all(under("share"));
        platform::PromptStartFolder start(under("share/Varnok/Quorrel").string());
        start.finish(under(c.chosen).string());
        if (c.staying != nullptr) {
            EXPECT_TRUE(fs::is_directory(under(c.staying))) << c.chosen;
        }
        if (c.gone != nullptr) {
            EXPECT_FALSE(fs::exists(under(c.gone))) << c.chosen;
        }
    }
}

TEST_F(PromptStartFolderTest, FoldersThatWereThereOrAreNoLongerEmptyStay) {
    fs::create_directories(under("share"));
    platform::PromptStartFolder start(under("share/Varnok/Quorrel").string());
    EXPECT_EQ(start.created().size(), 2u);
    // Something was put into a made folder while the prompt was open (its "new folder").
    fs::create_directory(under("share/Varnok/Other"));
    start.finish(std::nullopt);
    EXPECT_FALSE(fs::exists(under("share/Varnok/Quorrel")));
    EXPECT_TRUE(fs::is_directory(under("share/Varnok/Other")));
    EXPECT_TRUE(fs::is_directory(under("share")));
}

}  // namespace
}  // namespace quorrel
