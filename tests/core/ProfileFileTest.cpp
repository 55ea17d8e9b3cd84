#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "profiles/ProfileFile.h"
#include "tests/support/MemoryFileStore.h"
#include "tests/support/PassThroughCodec.h"
#include "tests/support/ProfileBuilder.h"

namespace quorrel {
namespace {

ProfileList parse(std::string_view bytes) {
    ProfileList list;
    test::PassThroughCodec codec;
    parseProfiles(bytes, codec, list);
    return list;
}

std::string serialize(const ProfileList& list) {
    test::PassThroughCodec codec;
    std::string bytes;
    EXPECT_TRUE(serializeProfiles(list, codec, bytes));
    return bytes;
}

TEST(ProfileFileFormat, WritesEightFieldsWithCrLf) {
    ProfileList list;
    list.append(test::dhcpProfile("집"));
    list.append(
        test::fixedProfile("사무실", "192.168.0.10").gateway("192.168.0.1").dns("192.168.0.1"));

    EXPECT_EQ(serialize(list),
              "집||TRUE||||||||TRUE||||\r\n"
              "사무실||FALSE||192.168.0.10||255.255.255.0||192.168.0.1||FALSE||192.168.0.1||\r\n");
}

TEST(ProfileFileFormat, RoundTripKeepsEveryFieldAndOrder) {
    const std::string bytes =
        "a||FALSE||10.0.0.5||255.0.0.0||10.0.0.1||FALSE||10.0.0.1||10.0.0.2\r\n"
        "b||TRUE||||||||FALSE||1.1.1.1||\r\n"
        "50% off %s %d||TRUE||||||||TRUE||||\r\n";
    const ProfileList list = parse(bytes);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list.begin()->secondaryDns, "10.0.0.2");
    EXPECT_EQ(std::next(list.begin())->primaryDns, "1.1.1.1");
    EXPECT_EQ(std::next(list.begin(), 2)->name, "50% off %s %d");
    EXPECT_EQ(serialize(list), bytes);
}

TEST(ProfileFileRead, DhcpLineDropsStoredAddressesByNormalisation) {
    const ProfileList list =
        parse("집||TRUE||1.2.3.4||255.0.0.0||1.2.3.1||TRUE||1.1.1.1||2.2.2.2\r\n");
    ASSERT_EQ(list.size(), 1u);
    const IpProfile& p = *list.begin();
    EXPECT_EQ(p.useDhcp, 1);
    EXPECT_EQ(p.dnsAuto, 1);
    EXPECT_EQ(p.ipAddress + p.subnetMask + p.gateway + p.primaryDns + p.secondaryDns, "");
    EXPECT_EQ(serialize(list), "집||TRUE||||||||TRUE||||\r\n");
}

TEST(ProfileFileRead, AutomaticDnsWithFixedAddressBecomesEmptyManualDns) {
    const ProfileList list = parse("가||FALSE||10.0.0.5||255.0.0.0||||TRUE||||\n");
    ASSERT_EQ(list.size(), 1u);
    const IpProfile& p = *list.begin();
    EXPECT_EQ(p.useDhcp, 0);
    EXPECT_EQ(p.dnsAuto, 0);
    EXPECT_EQ(p.ipAddress, "10.0.0.5");
    EXPECT_EQ(p.gateway, "");
    EXPECT_EQ(p.primaryDns, "");
    EXPECT_EQ(p.secondaryDns, "");
}

TEST(ProfileFileRead, OnlyUpperCaseFalseMeansManual) {
    const ProfileList list = parse(
        "a||false||10.0.0.5||255.0.0.0||||false||1.1.1.1||\n"
        "b||True||||||||FALSE||1.1.1.1||\n"
        "c||||||||||FALSE||1.1.1.1||\n");
    ASSERT_EQ(list.size(), 3u);
    auto it = list.begin();
    EXPECT_EQ(it->useDhcp, 1);  // "false" counts as automatic
    EXPECT_EQ(it->dnsAuto, 1);
    ++it;
    EXPECT_EQ(it->useDhcp, 1);
    EXPECT_EQ(it->dnsAuto, 0);
    EXPECT_EQ(it->primaryDns, "1.1.1.1");
    ++it;
    EXPECT_EQ(it->useDhcp, 1);  // an empty flag counts as automatic too
}

TEST(ProfileFileRead, MissingAndExtraSeparatorsFollowTheSeparatorSearch) {
    const ProfileList list = parse(
        "no separators at all\n"
        "short||FALSE||10.0.0.5\n"
        "long||FALSE||1.1.1.1||255.0.0.0||1.1.1.254||FALSE||8.8.8.8||8.8.4.4||extra||more\n");
    ASSERT_EQ(list.size(), 3u);
    auto it = list.begin();
    // No separator: empty name, everything automatic.
    EXPECT_EQ(it->name, "");
    EXPECT_EQ(it->useDhcp, 1);
    EXPECT_EQ(it->dnsAuto, 1);
    ++it;
    // Three fields: after the failed search for the third separator the search starts
    // over near the line's head, so the later fields repeat parts of the line. The rule
    // is kept exactly; such a line is never rejected.
    EXPECT_EQ(it->name, "short");
    EXPECT_EQ(it->useDhcp, 0);
    EXPECT_EQ(it->ipAddress, "");
    EXPECT_EQ(it->subnetMask, "hort");
    EXPECT_EQ(it->gateway, "FALSE");
    EXPECT_EQ(it->dnsAuto, 0);
    EXPECT_EQ(it->primaryDns, "");
    ++it;
    // Extra separators all end up in the last field.
    EXPECT_EQ(it->primaryDns, "8.8.8.8");
    EXPECT_EQ(it->secondaryDns, "8.8.4.4||extra||more");
}

TEST(ProfileFileRead, LastLineWithoutLineEnd) {
    const ProfileList list = parse(
        "나||FALSE||10.0.0.5||255.0.0.0||10.0.0.1||FALSE||10.0.0.1||\r\n"
        "다||FALSE||10.0.0.5||255.0.0.0||||FALSE||10.0.0.1||10.0.0.2");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.begin()->secondaryDns, "");
    EXPECT_EQ(std::next(list.begin())->secondaryDns, "10.0.0.2");

    const ProfileList single = parse("나||FALSE||10.0.0.5||255.0.0.0||10.0.0.1||FALSE||10.0.0.1||");
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(single.begin()->primaryDns, "10.0.0.1");
    EXPECT_EQ(single.begin()->secondaryDns, "");
}

TEST(ProfileFileRead, BlankLinesAreSkippedNotTheEndOfTheFile) {
    const ProfileList list = parse(
        "\r\n"
        "a||TRUE||||||||TRUE||||\r\n"
        "\r\n"
        "\n"
        "b||TRUE||||||||TRUE||||\r\n");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.begin()->name, "a");
    EXPECT_EQ(std::next(list.begin())->name, "b");
}

TEST(ProfileFileRead, EmptyFileGivesEmptyList) {
    EXPECT_TRUE(parse("").empty());
}

TEST(ProfileFileRead, LongLineIsReadWholeAsOneProfile) {
    const std::string name(1000 - std::string("||TRUE||||||||TRUE||||").size(), 'n');
    const std::string line = name + "||TRUE||||||||TRUE||||";
    ASSERT_EQ(line.size(), 1000u);
    const ProfileList list = parse(line + "\r\nnext||TRUE||||||||TRUE||||\r\n");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.begin()->name, name);
    EXPECT_EQ(std::next(list.begin())->name, "next");
    EXPECT_EQ(serialize(list), line + "\r\nnext||TRUE||||||||TRUE||||\r\n");
}

TEST(ProfileDataFile, LoadSaveAndBackupUseTheInstallFolder) {
    test::MemoryFileStore files;
    test::PassThroughCodec codec;
    ProfileDataFile file(files, codec, "/opt/q/");
    EXPECT_EQ(file.dataPath(), "/opt/q/quorrel.dat");

    ProfileList list;
    // No file yet: said so, the list untouched.
    EXPECT_EQ(file.load(list).value(), ProfileDataFile::Found::Missing);
    EXPECT_TRUE(list.empty());
    file.backup();  // nothing to copy: no backup appears
    EXPECT_EQ(files.files.count("/opt/q/quorrel.bak"), 0u);

    files.files["/opt/q/quorrel.dat"] = "a||TRUE||||||||TRUE||||\r\n";
    files.files["/opt/q/quorrel.bak"] = "old";
    file.backup();
    EXPECT_EQ(files.files["/opt/q/quorrel.bak"], "a||TRUE||||||||TRUE||||\r\n");
    ASSERT_EQ(file.load(list).value(), ProfileDataFile::Found::Loaded);
    ASSERT_EQ(list.size(), 1u);

    list.append(*list.begin()).name = "b";
    ASSERT_TRUE(file.save(list));
    EXPECT_EQ(files.files["/opt/q/quorrel.dat"],
              "a||TRUE||||||||TRUE||||\r\nb||TRUE||||||||TRUE||||\r\n");

    files.unwritable["/opt/q/quorrel.dat"] = true;
    const Done refused = file.save(ProfileList{});
    EXPECT_FALSE(refused);
    EXPECT_FALSE(refused.error().empty());
    EXPECT_EQ(files.files["/opt/q/quorrel.dat"],
              "a||TRUE||||||||TRUE||||\r\nb||TRUE||||||||TRUE||||\r\n");
}

// A save hands the store pieces of about kDataFilePieceBytes, which together are the bytes
// of serializeProfiles; a store that refuses the first piece is handed no other.
TEST(ProfileDataFile, SavesInPiecesAndStopsAtTheFirstRefusedPiece) {
    test::MemoryFileStore files;
    test::PassThroughCodec codec;
    ProfileDataFile file(files, codec, "/opt/q/");
    ProfileList list;
    for (int i = 0; i < 4000; ++i) {
        const std::string n = std::to_string(i);
        list.append(i % 2 == 0 ? test::dhcpProfile("집 " + n)
                               : test::fixedProfile("사무실 " + n, "10.0.0." + n).dns("10.0.0.1"));
    }
    const std::string whole = serialize(list);

    ASSERT_TRUE(file.save(list));
    EXPECT_TRUE(files.files["/opt/q/quorrel.dat"] == whole);
    EXPECT_GE(files.lastPieces.size(), 3u);
    // No line is as long as 100 bytes: a piece ends with the line that fills it.
    for (const std::size_t piece : files.lastPieces) {
        EXPECT_LT(piece, kDataFilePieceBytes + 100);
    }

    files.unwritable["/opt/q/quorrel.dat"] = true;
    list.append(test::dhcpProfile("새"));
    EXPECT_FALSE(file.save(list));
    EXPECT_EQ(files.lastPieces.size(), 1u);
    EXPECT_TRUE(files.files["/opt/q/quorrel.dat"] == whole);
}

TEST(ProfileDataFile, TellsAMissingFileFromOneThatCannotBeRead) {
    test::MemoryFileStore files;
    test::PassThroughCodec codec;
    ProfileDataFile file(files, codec, "/opt/q/");
    using Found = ProfileDataFile::Found;
    ProfileList list;
    const auto missing = file.load(list);
    ASSERT_TRUE(missing.ok());
    EXPECT_EQ(*missing, Found::Missing);

    // The read fails after its first piece, which holds a whole line: no profile is kept.
    files.files["/opt/q/quorrel.dat"] = "a||TRUE||||||||TRUE||||\r\n";
    files.unreadable["/opt/q/quorrel.dat"] = "Input/output error";
    const auto unreadable = file.load(list);
    ASSERT_FALSE(unreadable.ok());
    EXPECT_EQ(unreadable.error(), "Input/output error");
    EXPECT_TRUE(list.empty());

    files.unreadable.clear();
    const auto loaded = file.load(list);
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(*loaded, Found::Loaded);
    EXPECT_EQ(list.size(), 1u);
}

// Marks where each decoded text begins and ends, so that a text decoded piece by piece shows.
class MarkingCodec final : public platform::TextCodec {
public:
    bool encode(std::string_view utf8, std::string& out) const override {
        out.assign(utf8);
        return true;
    }
    std::string decode(std::string_view bytes) const override {
        return "<" + std::string(bytes) + ">";
    }
};

// Awkward files loaded in pieces of several sizes, so that lines, their line ends and the
// characters of a name are split at every place: each gives the list that parseProfiles
// gives for the whole bytes at once.
TEST(ProfileDataFile, LoadsInPiecesOfAnySizeAsTheWholeBytesAreParsed) {
    const std::string dhcp = "||TRUE||||||||TRUE||||";
    const std::string fixed = "||FALSE||10.0.0.5||255.0.0.0||10.0.0.1||FALSE||10.0.0.1||10.0.0.2";
    struct Case {
        const char* what;
        std::string bytes;
        std::size_t profiles;
    };
    const Case cases[] = {
        {"CR LF line ends", "a" + dhcp + "\r\nb" + fixed + "\r\nc" + dhcp + "\r\n", 3},
        // 집 is C1 FD and 설정 BC B3 C1 A4 in CP949.
        {"CP949 names", "\xC1\xFD" + dhcp + "\r\n\xBC\xB3\xC1\xA4" + fixed + "\r\n", 2},
        {"blank lines and LF ends", "\r\n\na" + dhcp + "\n\r\n\r\nb" + fixed + "\n\n", 2},
        {"no line end after the last line", "a" + dhcp + "\r\nb" + fixed, 2},
        {"a lone CR at the end", "a" + dhcp + "\r\n\r", 1},
        {"a line longer than a piece",
         std::string(platform::kFileReadPieceBytes + 100, 'n') + dhcp + "\r\nb" + fixed, 2},
        {"no bytes", "", 0},
    };
    MarkingCodec codec;
    for (const Case& c : cases) {
        ProfileList whole;
        parseProfiles(c.bytes, codec, whole);
        ASSERT_EQ(whole.size(), c.profiles) << c.what;
        const std::string expected = serialize(whole);
        for (const std::size_t pieceBytes :
             {std::size_t{1}, std::size_t{2}, std::size_t{7}, platform::kFileReadPieceBytes}) {
            SCOPED_TRACE(std::string(c.what) + ", pieces of " + std::to_string(pieceBytes));
            test::MemoryFileStore files;
            files.readPieceBytes = pieceBytes;
            files.files["/opt/q/quorrel.dat"] = c.bytes;
            ProfileList list;
            ASSERT_EQ(ProfileDataFile(files, codec, "/opt/q/").load(list).value(),
                      ProfileDataFile::Found::Loaded);
            EXPECT_TRUE(serialize(list) == expected) << serialize(list).substr(0, 200);
        }
    }
}

}  // namespace
}  // namespace quorrel
