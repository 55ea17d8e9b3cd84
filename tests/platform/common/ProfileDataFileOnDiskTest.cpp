#include <gtest/gtest.h>

#include <memory>

#include "platform/FileStore.h"
#include "platform/TextCodec.h"
#include "profiles/ProfileFile.h"
#include "tests/support/ProfileBuilder.h"
#include "tests/support/Succeeded.h"
#include "tests/support/TempFolder.h"

namespace quorrel {
namespace {

// The data file in a folder of its own, through the system's file store and code page.
class ProfileDataFileOnDisk : public ::testing::Test {
protected:
    test::TempFolder folder;
    std::unique_ptr<platform::FileStore> files = platform::makeSystemFileStore();
    std::unique_ptr<platform::TextCodec> codec = platform::makeCp949Codec();
    ProfileDataFile dataFile{*files, *codec, folder.path()};
};

TEST_F(ProfileDataFileOnDisk, WritesCp949WithCrLfAndReadsItBack) {
    ProfileList list;
    list.append(test::dhcpProfile("집"));
    ASSERT_TRUE(test::succeeded(dataFile.save(list)));

    // 집 is C1 FD in CP949.
    EXPECT_EQ(test::readFileBytes(folder.file("quorrel.dat")),
              "\xC1\xFD||TRUE||||||||TRUE||||\r\n");

    ProfileList loaded;
    ASSERT_TRUE(dataFile.load(loaded).ok());
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded.begin()->name, "집");
}

// A list that takes several pieces, saved over a longer old file: the file holds exactly
// the bytes of serializeProfiles.
TEST_F(ProfileDataFileOnDisk, ASaveInPiecesWritesTheBytesOfTheWholeFile) {
    ProfileList list;
    for (int i = 0; i < 6000; ++i) {
        const std::string n = std::to_string(i);
        list.append(i % 2 == 0 ? test::dhcpProfile("집 " + n)
                               : test::fixedProfile("사무실 " + n, "10.0.0." + n).dns("10.0.0.1"));
    }
    std::string whole;
    serializeProfiles(list, *codec, whole);
    ASSERT_GT(whole.size(), 3 * kDataFilePieceBytes);
    test::writeFileBytes(folder.file("quorrel.dat"), std::string(whole.size() + 1000, 'x'));

    ASSERT_TRUE(test::succeeded(dataFile.save(list)));
    const std::string saved = test::readFileBytes(folder.file("quorrel.dat"));
    EXPECT_TRUE(saved == whole) << saved.size() << " bytes instead of " << whole.size();
}

TEST_F(ProfileDataFileOnDisk, SaveIntoMissingFolderFailsAndSaysWhy) {
    ProfileDataFile inMissingFolder(*files, *codec, folder.file("missing/"));
    const Done saved = inMissingFolder.save(ProfileList{});
    EXPECT_FALSE(saved);
    EXPECT_FALSE(saved.error().empty());
}

TEST_F(ProfileDataFileOnDisk, BackupReplacesAnOldBackupAndSurvivesAMissingFile) {
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

    // A lead byte without its trail byte is not CP949: it is carried as U+DCB1 and written
    // back as the byte it was.
    EXPECT_EQ(codec->decode("a\xB1"), "a\xED\xB2\xB1");
    EXPECT_TRUE(codec->encode("a\xED\xB2\xB1", bytes));
    EXPECT_EQ(bytes, "a\xB1");
}

// Bytes that are not CP949, each written back as it was: a stray 0x80 and 0xFF, a lead
// byte before a separator or at the end of the line, a lead byte before an ASCII letter.
TEST_F(ProfileDataFileOnDisk, KeepsEveryByteOfEveryFieldThroughALoadAndASave) {
    const std::string bytes =
        "\xC1\xFD\x80\xFFx\xC1||FALSE||10.0.0.5||255.0.0.0||||FALSE||10.0.0.1||\xB1\r\n"
        "\xB1\x41\xFE||TRUE||||||||TRUE||||\r\n"
        "\xBC\xB3\xC1\xA4||FALSE||10.0.0.5||255.0.0.0||10.0.0.1||FALSE||\xFF||\r\n";
    test::writeFileBytes(folder.file("quorrel.dat"), bytes);

    ProfileList list;
    ASSERT_TRUE(dataFile.load(list).ok());
    ASSERT_EQ(list.size(), 3u);
    // What CP949 can read is read: 집 and 설정 stay readable around the stray bytes.
    EXPECT_EQ(list.begin()->name.view().substr(0, 3), "집");
    EXPECT_EQ(std::next(list.begin(), 2)->name, "설정");
    ASSERT_TRUE(test::succeeded(dataFile.save(list)));
    EXPECT_EQ(test::readFileBytes(folder.file("quorrel.dat")), bytes);
}

// The separators are searched in the file's bytes: a line whose last separator is missing
// gives an empty primary server and a secondary one from the line's second byte on, which
// here is the trail byte of 나 (B3 AA). Saved, the fields keep exactly those bytes.
TEST_F(ProfileDataFileOnDisk, CountsFieldPositionsInTheFilesBytes) {
    const std::string line = "\xB3\xAA||FALSE||10.0.0.5||255.0.0.0||10.0.0.1||FALSE||10.0.0.1";
    test::writeFileBytes(folder.file("quorrel.dat"), line + "\r\n");

    ProfileList list;
    ASSERT_TRUE(dataFile.load(list).ok());
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.begin()->name, "나");
    EXPECT_EQ(list.begin()->primaryDns, "");
    ASSERT_TRUE(test::succeeded(dataFile.save(list)));
    const std::string saved =
        "\xB3\xAA||FALSE||10.0.0.5||255.0.0.0||10.0.0.1||FALSE||||" + line.substr(1) + "\r\n";
    EXPECT_EQ(test::readFileBytes(folder.file("quorrel.dat")), saved);

    // A second round changes nothing more.
    ProfileList again;
    ASSERT_TRUE(dataFile.load(again).ok());
    ASSERT_TRUE(test::succeeded(dataFile.save(again)));
    EXPECT_EQ(test::readFileBytes(folder.file("quorrel.dat")), saved);
}

}  // namespace
}  // namespace quorrel
