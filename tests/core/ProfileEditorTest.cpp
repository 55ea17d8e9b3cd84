#include <gtest/gtest.h>

#include <string>

#include "listview/ProfileEditor.h"
#include "resources/ListTexts.h"
#include "tests/core/KoreanCountingCodec.h"
#include "tests/support/ProfileBuilder.h"

namespace quorrel {
namespace {

using test::dhcpProfile;
using test::fixedProfile;
using test::KoreanCountingCodec;

class ProfileEditorTest : public ::testing::Test {
protected:
    ProfileList list;
    KoreanCountingCodec codec;
    ProfileEditor editor{list, codec};

    void typeAddress(AddressFieldModel& control, const std::string& text) {
        control.enterField(0);
        for (char c : text) {
            if (c == '.') {
                control.typeDot();
            } else {
                control.typeDigit(c);
            }
        }
        control.leave();
    }

    // Add mode with a fixed address entered the way a user does: address, then the mask
    // field gains the focus.
    void addFixed(const std::string& name, const std::string& address) {
        editor.startAdd();
        editor.controls().nameText = name;
        editor.clickFixedAddress();
        typeAddress(editor.controls().address, address);
        editor.maskFocusGained();
    }

    const IpProfile* edit(const std::string& name) {
        const IpProfile* entry = list.findByName(name);
        editor.startEdit(*entry, entry);
        return entry;
    }
};

// --- Start-up and radio actions

TEST_F(ProfileEditorTest, AddModeStartsAutomaticWithBlankDisabledFields) {
    EXPECT_EQ(editor.startAdd(), EditorControl::Name);
    const auto& c = editor.controls();
    EXPECT_STREQ(editor.caption(), texts::kEditorCaptionAdd);
    EXPECT_TRUE(c.autoAddressChecked && !c.fixedAddressChecked);
    EXPECT_TRUE(c.autoDnsChecked && !c.fixedDnsChecked && c.autoDnsEnabled);
    for (const AddressFieldModel* control :
         {&c.address, &c.mask, &c.gateway, &c.primaryDns, &c.secondaryDns}) {
        EXPECT_TRUE(control->isBlank());
        EXPECT_FALSE(control->enabled());
    }
    EXPECT_TRUE(c.address.range(0).min == 1 && c.address.range(0).max == 223);
    EXPECT_TRUE(c.primaryDns.range(3).min == 1 && c.primaryDns.range(3).max == 254);
    EXPECT_TRUE(c.mask.range(0).min == 0 && c.mask.range(3).max == 255);
}

TEST_F(ProfileEditorTest, FixedAddressForcesFixedDnsAndAutomaticResetsIt) {
    editor.startAdd();
    EXPECT_EQ(editor.clickFixedAddress(), EditorControl::Address);
    auto& c = editor.controls();
    EXPECT_TRUE(c.fixedAddressChecked && c.fixedDnsChecked && !c.autoDnsChecked);
    EXPECT_FALSE(c.autoDnsEnabled);
    EXPECT_TRUE(c.address.enabled() && c.gateway.enabled() && c.primaryDns.enabled());
    EXPECT_EQ(editor.clickAutomaticDns(), std::nullopt);  // disabled: no effect
    EXPECT_TRUE(c.fixedDnsChecked);
    EXPECT_TRUE(c.primaryDns.enabled());

    typeAddress(c.address, "10.1.2.3");
    typeAddress(c.primaryDns, "10.1.2.53");
    editor.clickAutomaticAddress();
    EXPECT_TRUE(c.autoAddressChecked && c.autoDnsChecked && !c.fixedDnsChecked);
    EXPECT_TRUE(c.autoDnsEnabled);
    EXPECT_TRUE(c.address.isBlank() && !c.address.enabled());
    EXPECT_TRUE(c.primaryDns.isBlank() && !c.primaryDns.enabled());

    EXPECT_EQ(editor.clickFixedDns(), EditorControl::PrimaryDns);
    EXPECT_TRUE(c.primaryDns.enabled() && c.autoAddressChecked);
}

TEST_F(ProfileEditorTest, EditModeShowsTheStoredProfileWithoutFieldLimits) {
    list.append(fixedProfile("사무실", "192.168.0.10").dns("10.0.0.53"));
    edit("사무실");
    const auto& c = editor.controls();
    EXPECT_STREQ(editor.caption(), texts::kEditorCaptionEdit);
    EXPECT_EQ(c.nameText, "사무실");
    EXPECT_TRUE(c.fixedAddressChecked && c.fixedDnsChecked && !c.autoDnsEnabled);
    EXPECT_EQ(c.address.value(), makeAddress(192, 168, 0, 10));
    EXPECT_EQ(c.mask.value(), makeAddress(255, 255, 255, 0));
    EXPECT_TRUE(c.gateway.isBlank() && c.gateway.enabled());
    EXPECT_EQ(c.primaryDns.value(), makeAddress(10, 0, 0, 53));
    EXPECT_TRUE(c.secondaryDns.isBlank());
    EXPECT_EQ(c.address.range(0).max, 255);
    EXPECT_EQ(c.address.range(3).min, 0);
}

// --- Default subnet mask

TEST_F(ProfileEditorTest, MaskProposalFollowsTheAddressClass) {
    const struct {
        const char* address;
        AddressValue mask;
    } cases[] = {{"10.1.2.3", makeAddress(255, 0, 0, 0)},
                 {"127.0.0.1", makeAddress(255, 0, 0, 0)},
                 {"128.0.0.1", makeAddress(255, 255, 0, 0)},
                 {"172.16.0.1", makeAddress(255, 255, 0, 0)},
                 {"192.168.0.10", makeAddress(255, 255, 255, 0)},
                 {"223.1.1.1", makeAddress(255, 255, 255, 0)}};
    for (const auto& item : cases) {
        addFixed("a", item.address);
        EXPECT_EQ(editor.controls().mask.value(), item.mask) << item.address;
    }
}

TEST_F(ProfileEditorTest, MaskProposalLeavesOutOfClassBlankAndTypedMasks) {
    list.append(fixedProfile("멀티캐스트", "10.0.0.1"));
    edit("멀티캐스트");
    auto& c = editor.controls();
    c.mask.clear();
    typeAddress(c.address, "224.0.0.1");  // edit mode: no field limit
    EXPECT_FALSE(editor.maskFocusGained());
    EXPECT_TRUE(c.mask.isBlank());

    c.address.clear();
    EXPECT_FALSE(editor.maskFocusGained());
    EXPECT_TRUE(c.mask.isBlank());

    typeAddress(c.address, "10.1.2.3");
    typeAddress(c.mask, "255.255.252.0");
    EXPECT_FALSE(editor.maskFocusGained());
    EXPECT_EQ(c.mask.value(), makeAddress(255, 255, 252, 0));
}

// --- OK checks

TEST_F(ProfileEditorTest, AddressRangeBoundsOnOk) {
    for (const char* good : {"1.0.0.0", "127.0.0.1", "223.255.255.255"}) {
        list.clear();
        editor.startEdit(fixedProfile("x", "10.0.0.1"), nullptr);
        editor.controls().address.setAddress(*parseAddress(good));
        EXPECT_TRUE(editor.confirm().accepted()) << good;
        EXPECT_EQ(editor.profile()->ipAddress, good);
    }
    for (const char* bad : {"0.1.2.3", "224.0.0.1", "0.0.0.0"}) {
        editor.startEdit(fixedProfile("x", "10.0.0.1"), nullptr);
        editor.controls().address.setAddress(*parseAddress(bad));
        const EditorOutcome outcome = editor.confirm();
        EXPECT_EQ(outcome.check, EditorCheck::AddressOutOfRange) << bad;
        ASSERT_TRUE(outcome.message.has_value());
        EXPECT_EQ(outcome.message->text, texts::kEditorAddressRange);
        EXPECT_EQ(outcome.message->icon, MessageIcon::Exclamation);
        EXPECT_EQ(outcome.focus, EditorControl::Address);
        EXPECT_EQ(editor.profile()->ipAddress, "10.0.0.1");  // nothing written
    }
}

TEST_F(ProfileEditorTest, ChecksRunInOrderAndOnlyTheAddressMovesTheFocus) {
    editor.startAdd();
    editor.clickFixedAddress();
    auto& c = editor.controls();
    c.nameText = "";
    // Name missing comes before the address and mask checks.
    EXPECT_EQ(editor.confirm().check, EditorCheck::NameMissing);
    c.nameText = "a|b";
    EditorOutcome outcome = editor.confirm();
    EXPECT_EQ(outcome.check, EditorCheck::NameHasBar);
    EXPECT_EQ(outcome.message->text, texts::kEditorNameHasBar);
    EXPECT_FALSE(outcome.focus.has_value());
    c.nameText = "사무실";
    EXPECT_EQ(editor.confirm().check, EditorCheck::AddressOutOfRange);
    typeAddress(c.address, "10.1.2.3");
    outcome = editor.confirm();
    EXPECT_EQ(outcome.check, EditorCheck::MaskMissing);
    EXPECT_EQ(outcome.message->text, texts::kEditorMaskMissing);
    EXPECT_FALSE(outcome.focus.has_value());
    list.append(dhcpProfile("사무실"));
    typeAddress(c.mask, "255.0.0.0");
    outcome = editor.confirm();
    EXPECT_EQ(outcome.check, EditorCheck::DuplicateName);
    EXPECT_EQ(outcome.message->text, "설정 이름이 중복되었습니다.\n다시 입력해 주십시오.");
    EXPECT_FALSE(editor.profile().has_value());
    c.nameText = "사무실2";
    EXPECT_TRUE(editor.confirm().accepted());
    EXPECT_EQ(editor.profile()->name, "사무실2");
}

TEST_F(ProfileEditorTest, NameLimitCountsCodePageBytes) {
    editor.startAdd();
    auto& c = editor.controls();
    c.nameText = "가나다라마바사아자차";  // ten syllables, 20 bytes
    EXPECT_TRUE(profileNameFits(codec, c.nameText));
    EXPECT_TRUE(editor.confirm().accepted());

    list.append(dhcpProfile("가나다라마바사아자차카"));  // 22 bytes, from a data file
    edit("가나다라마바사아자차카");
    EditorOutcome outcome = editor.confirm();
    EXPECT_EQ(outcome.check, EditorCheck::NameTooLong);
    EXPECT_NE(outcome.message->text.find("20"), std::string::npos);
    EXPECT_EQ(outcome.focus, EditorControl::Name);
    editor.controls().nameText = "가나다라마바사아자a";  // 19 bytes
    EXPECT_TRUE(editor.confirm().accepted());
    EXPECT_EQ(editor.profile()->name, "가나다라마바사아자a");
    // 21 ASCII characters are too long as well.
    editor.controls().nameText = std::string(21, 'a');
    EXPECT_EQ(editor.confirm().check, EditorCheck::NameTooLong);
}

TEST_F(ProfileEditorTest, NameTheCodePageCannotHoldIsRefused) {
    editor.startAdd();
    editor.controls().nameText = "집\xF0\x9F\x8F\xA0";  // a house emoji
    const EditorOutcome outcome = editor.confirm();
    EXPECT_EQ(outcome.check, EditorCheck::NameNotEncodable);
    EXPECT_EQ(outcome.message->text, texts::kEditorNameNotEncodable);
    EXPECT_FALSE(editor.profile().has_value());
}

// --- Duplicate names

TEST_F(ProfileEditorTest, DuplicateNamesAreExactAndIgnoreTheEditedEntry) {
    list.append(dhcpProfile("Office"));
    list.append(dhcpProfile("Home"));

    editor.startAdd();
    editor.controls().nameText = "office";  // differs in letter case only
    EXPECT_TRUE(editor.confirm().accepted());

    edit("Office");
    EXPECT_TRUE(editor.confirm().accepted());  // keeps its own name
    edit("Office");
    editor.controls().nameText = "Home";
    EXPECT_EQ(editor.confirm().check, EditorCheck::DuplicateName);
    editor.controls().nameText = "Office ";
    EXPECT_TRUE(editor.confirm().accepted());
}

TEST_F(ProfileEditorTest, SecondOfTwoEqualNamesCannotKeepItsName) {
    list.append(dhcpProfile("집"));
    const IpProfile& second = list.append(fixedProfile("집", "10.0.0.9"));
    editor.startEdit(second, &second);
    EXPECT_EQ(editor.confirm().check, EditorCheck::DuplicateName);
    editor.controls().nameText = "집2";
    EXPECT_TRUE(editor.confirm().accepted());
}

// --- The profile handed back

TEST_F(ProfileEditorTest, AddFixedProfileBuildsDottedTexts) {
    addFixed("사무실", "192.168.0.10");
    auto& c = editor.controls();
    typeAddress(c.gateway, "192.168.0.1");
    typeAddress(c.secondaryDns, "168.126.63.2");
    ASSERT_TRUE(editor.confirm().accepted());
    const IpProfile& p = *editor.profile();
    EXPECT_EQ(p.name, "사무실");
    EXPECT_EQ(p.useDhcp, 0);
    EXPECT_EQ(p.dnsAuto, 0);
    EXPECT_EQ(p.ipAddress, "192.168.0.10");
    EXPECT_EQ(p.subnetMask, "255.255.255.0");
    EXPECT_EQ(p.gateway, "192.168.0.1");
    // Only the secondary server given: it becomes the primary one.
    EXPECT_EQ(p.primaryDns, "168.126.63.2");
    EXPECT_EQ(p.secondaryDns, "");
    EXPECT_EQ(p.isCurrent, 0);
}

TEST_F(ProfileEditorTest, AutomaticAddressWithBlankManualDnsBecomesAutomaticDns) {
    editor.startAdd();
    editor.controls().nameText = "카페";
    editor.clickFixedDns();
    ASSERT_TRUE(editor.confirm().accepted());
    EXPECT_EQ(editor.profile()->useDhcp, 1);
    EXPECT_EQ(editor.profile()->dnsAuto, 1);

    editor.startAdd();
    editor.controls().nameText = "카페2";
    editor.clickFixedDns();
    typeAddress(editor.controls().primaryDns, "8.8.8.8");
    ASSERT_TRUE(editor.confirm().accepted());
    EXPECT_EQ(editor.profile()->dnsAuto, 0);
    EXPECT_EQ(editor.profile()->primaryDns, "8.8.8.8");
}

TEST_F(ProfileEditorTest, SwitchingAnEditedFixedProfileToAutomaticKeepsItsTexts) {
    list.append(fixedProfile("사무실", "192.168.0.10").gateway("10.0.0.1").dns("10.0.0.53"));
    edit("사무실");
    editor.clickAutomaticAddress();
    ASSERT_TRUE(editor.confirm().accepted());
    const IpProfile& p = *editor.profile();
    EXPECT_EQ(p.useDhcp, 1);
    EXPECT_EQ(p.dnsAuto, 1);
    EXPECT_EQ(p.ipAddress, "192.168.0.10");
    EXPECT_EQ(p.gateway, "10.0.0.1");
    EXPECT_EQ(p.primaryDns, "10.0.0.53");
    // The list entry itself is the caller's to change.
    EXPECT_EQ(list.findByName("사무실")->useDhcp, 0);
}

TEST_F(ProfileEditorTest, UnreadableStoredMaskShowsBlankAndMustBeEntered) {
    editor.startEdit(fixedProfile("망가짐", "10.0.0.1", "mask?"), nullptr);
    EXPECT_TRUE(editor.controls().mask.isBlank());
    EXPECT_EQ(editor.confirm().check, EditorCheck::MaskMissing);
}

}  // namespace
}  // namespace quorrel
