#include <gtest/gtest.h>

#include "app/ProfileNames.h"

namespace quorrel {
namespace {

void add(ProfileList& list, const std::string& name) {
    IpProfile p;
    p.name = name;
    list.append(p);
}

TEST(NextFreeProfileName, TakesTheLowestFreeNumber) {
    ProfileList list;
    EXPECT_EQ(NextFreeProfileName(list), "설정[1]");
    add(list, "설정[1]");
    add(list, "설정[3]");
    EXPECT_EQ(NextFreeProfileName(list), "설정[2]");
    add(list, "설정[2]");
    EXPECT_EQ(NextFreeProfileName(list), "설정[4]");
}

TEST(NextFreeProfileName, OnlyExactNamesAreTaken) {
    ProfileList list;
    add(list, "설정[1] ");
    add(list, "설정1");
    add(list, "설정[01]");
    EXPECT_EQ(NextFreeProfileName(list), "설정[1]");
}

TEST(CopyProfileName, NumbersCopiesOfTheSourceName) {
    ProfileList list;
    add(list, "집");
    EXPECT_EQ(CopyProfileName(list, "집"), "집[1]");
    add(list, "집[1]");
    EXPECT_EQ(CopyProfileName(list, "집"), "집[2]");
    add(list, "집[2]");
    EXPECT_EQ(CopyProfileName(list, "집[1]"), "집[1][1]");
    add(list, "집[3]");

    list.removeMatching(*list.findByName("집[2]"));
    EXPECT_EQ(CopyProfileName(list, "집"), "집[2]");
}

TEST(CopyProfileName, FormatCharactersInTheSourceAreCopiedUnchanged) {
    ProfileList list;
    EXPECT_EQ(CopyProfileName(list, "50%"), "50%[1]");
    EXPECT_EQ(CopyProfileName(list, "%s%d%n"), "%s%d%n[1]");
    add(list, "%d[1]");
    EXPECT_EQ(CopyProfileName(list, "%d"), "%d[2]");
}

}  // namespace
}  // namespace quorrel
