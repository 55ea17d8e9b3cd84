// The tray icon's menu and tooltip: what they list, check and say for the adapter's picture.
#include <gtest/gtest.h>

#include "app/TrayMenu.h"
#include "tests/support/ProfileBuilder.h"

namespace quorrel {
namespace {

using Kind = TrayMenuEntry::Kind;

IpProfile adapterPicture(int useDhcp, const std::string& address) {
    IpProfile picture;
    picture.connectionName = "로컬 영역 연결";
    picture.useDhcp = useDhcp;
    picture.ipAddress = address;
    return picture;
}

TEST(TrayMenuTest, ListsTheProfilesUnderTheAdapterWithTheOneInUseChecked) {
    ProfileList profiles;
    profiles.append(test::fixedProfile("사무실", "10.0.0.5"));
    const IpProfile& home = profiles.append(test::dhcpProfile("집"));
    const auto menu = trayMenu(profiles, &home, adapterPicture(1, "192.168.0.7"));
    ASSERT_EQ(menu.size(), 7u);
    EXPECT_EQ(menu[0].kind, Kind::Adapter);
    EXPECT_EQ(menu[0].text, "어댑터: 로컬 영역 연결");
    EXPECT_FALSE(menu[0].enabled);
    EXPECT_EQ(menu[2].text, "사무실");
    EXPECT_FALSE(menu[2].checked);
    EXPECT_EQ(menu[3].text, "집");
    EXPECT_TRUE(menu[3].checked);
    EXPECT_EQ(menu[3].profile, &home);
    EXPECT_EQ(menu[5].kind, Kind::OpenWindow);
    EXPECT_EQ(menu[6].kind, Kind::Exit);

    // Without an adapter nothing can be applied.
    const auto without = trayMenu(profiles, nullptr, std::nullopt);
    EXPECT_EQ(without[0].text, "선택된 어댑터가 없습니다");
    EXPECT_FALSE(without[2].enabled);
    EXPECT_FALSE(without[3].checked);
}

TEST(TrayMenuTest, TheTooltipNamesTheProfileInUseAndTheAddress) {
    struct Case {
        bool withProfile;
        std::optional<IpProfile> adapter;
        const char* tooltip;
    };
    const IpProfile office = test::fixedProfile("사무실", "10.0.0.5");
    const Case cases[] = {
        {true, adapterPicture(0, "10.0.0.5"), "Quorrel - 사무실\n로컬 영역 연결: 10.0.0.5"},
        {true, adapterPicture(1, "192.168.0.7"),
         "Quorrel - 사무실\n로컬 영역 연결: 192.168.0.7 (DHCP)"},
        {false, adapterPicture(1, ""),
         "Quorrel - 사용 중인 프로필 없음\n로컬 영역 연결: 주소 없음"},
        {false, std::nullopt, "Quorrel - 사용 중인 프로필 없음\n선택된 어댑터가 없습니다"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(trayTooltip(c.withProfile ? &office : nullptr, c.adapter), c.tooltip);
    }
}

}  // namespace
}  // namespace quorrel
