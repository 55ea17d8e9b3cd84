#include <gtest/gtest.h>

#include "platform/FileStore.h"
#include "platform/TextCodec.h"
#include "profiles/ProfileFile.h"
#include "tests/support/ProfileBuilder.h"
#include "tests/support/TempFolder.h"

namespace quorrel {
namespace {

TEST(ProfileDataFileOnDisk, WritesCp949WithCrLfAndReadsItBack) {
    test::TempFolder folder;
    auto files = platform::makeSystemFileStore();
    auto codec = platform::makeCp949Codec();
    ProfileDataFile dataFile(*files, *codec, folder.path());

    ProfileList list;
    list.append(test::dhcpProfile("집"));
    std::string error;
    ASSERT_TRUE(dataFile.save(list, error)) << error;

    // 집 is C1 FD in CP949.
    EXPECT_EQ(test::readFileBytes(folder.file("quorrel.dat")),
              "\xC1\xFD||TRUE||||||||TRUE||||\r\n");

    ProfileList loaded;
    ASSERT_TRUE(dataFile.load(loaded));
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded.begin()->name, "집");
}

TEST(ProfileDataFileOnDisk, SaveIntoMissingFolderFailsAndSaysWhy) {
    test::TempFolder folder;
    auto files = platform::makeSystemFileStore();
    auto codec = platform::makeCp949Codec();
    ProfileDataFile dataFile(*files, *codec, folder.file("missing/"));
    std::string error;
    EXPECT_FALSE(dataFile.save(ProfileList{}, error));
    EXPECT_FALSE(error.empty());
}

TEST(ProfileDataFileOnDisk, BackupReplacesAnOldBackupAndSurvivesAMissingFile) {
    test::TempFolder folder;
    auto files = platform::makeSystemFileStore();
    auto codec = platform::makeCp949Codec();
    ProfileDataFile dataFile(*files, *codec, folder.path());

    test::writeFileBytes(folder.file("quorrel.bak"), "old backup");
    dataFile.backup();  // no data file: the old backup stays
    EXPECT_EQ(test::readFileBytes(folder.file("quorrel.bak")), "old backup");

    test::writeFileBytes(folder.file("quorrel.dat"), "a||TRUE||||||||TRUE||||\r\n");
    dataFile.backup();
    EXPECT_EQ(test::readFileBytes(folder.file("quorrel.bak")), "a||TRUE||||||||TRUE||||\r\n");
}

TEST(Cp949Codec, ConvertsKoreanBothWaysAndReportsWhatItCannotHold) {
    auto codec = platform::makeCp949Codec();
    std::string bytes;
    EXPECT_TRUE(codec->encode("설정[1]", bytes));
    EXPECT_EQ(bytes, "\xBC\xB3\xC1\xA4[1]");
    EXPECT_EQ(codec->decode(bytes), "설정[1]");

    // An emoji has no CP949 form.
    EXPECT_FALSE(codec->encode("a\xF0\x9F\x98\x80z", bytes));
    EXPECT_EQ(bytes, "a?z");
    EXPECT_FALSE(codec->canEncode("\xF0\x9F\x98\x80"));
    EXPECT_EQ(codec->encodedLength("가나다abc"), 9u);

    // A lead byte without its trail byte is not CP949.
    EXPECT_EQ(codec->decode("a\xB1"), "a\xEF\xBF\xBD");
}

}  // namespace
}  // namespace quorrel
