#include <gtest/gtest.h>

#include "app/FrameLayout.h"
#include "app/MenuLayout.h"
#include "app/ProfileSaving.h"
#include "base/TextFormat.h"
#include "resources/AppTexts.h"

namespace quorrel {
namespace {

TEST(FrameLayout, WindowSitsInTheMiddleOfTheScreenWithHalvingsTruncated) {
    const FrameRect common = centredFrameRect(1024, 768);
    EXPECT_EQ(common.x, 137);
    EXPECT_EQ(common.y, 184);
    EXPECT_EQ(common.width, 750);
    EXPECT_EQ(common.height, 400);

    const FrameRect odd = centredFrameRect(1023, 767);  // 511 - 375, 383 - 200
    EXPECT_EQ(odd.x, 136);
    EXPECT_EQ(odd.y, 183);

    const FrameRect small = centredFrameRect(640, 300);  // wider than the screen: off its edge
    EXPECT_EQ(small.x, -55);
    EXPECT_EQ(small.y, -50);
    EXPECT_EQ(small.width, 750);
}

TEST(FrameLayout, TitleNamesTheChosenAdapterOrNothing) {
    EXPECT_EQ(frameTitle(nullptr), "Quorrel v2.1.1  [선택 어댑터 : ]");
    IpProfile adapter;
    adapter.connectionName = "로컬 영역 연결";
    EXPECT_EQ(frameTitle(&adapter), "Quorrel v2.1.1  [선택 어댑터 : 로컬 영역 연결]");
    adapter.connectionName = "%s 100%d";  // shown as it is, never read as a format
    EXPECT_EQ(frameTitle(&adapter), "Quorrel v2.1.1  [선택 어댑터 : %s 100%d]");
}

TEST(TextFormat, FillsEachPlaceholderInTurnAndCopiesEverythingElse) {
    EXPECT_EQ(fillFormat("%s||%s", {"a", "b"}), "a||b");
    EXPECT_EQ(fillFormat("100% %d %s", {"x"}), "100% %d x");
    EXPECT_EQ(fillFormat("[%s][%s]", {"only"}), "[only][]");
    EXPECT_EQ(fillFormat("none", {"unused"}), "none");
    EXPECT_EQ(fillFormat("%s", {"%s"}), "%s");
}

TEST(MenuLayout, EveryCommandOfTheBarsHasAPromptAndTheToolCommandsAPicture) {
    int pictured = 0;
    for (const MenuSpec& menu : mainMenus()) {
        for (const MenuEntry& entry : menu.entries) {
            if (entry.command == 0) {
                continue;
            }
            EXPECT_FALSE(commandPrompt(entry.command).empty()) << entry.text;
            if (commandImageIndex(entry.command) >= 0) {
                ++pictured;
            }
        }
    }
    EXPECT_EQ(pictured, 10) << "each toolbar command appears once in the menus";
    std::vector<bool> used(10, false);
    for (const ToolButtonSpec& button : toolButtons()) {
        ASSERT_GE(button.imageIndex, 0);
        ASSERT_LT(button.imageIndex, 10);
        const auto image = static_cast<std::size_t>(button.imageIndex);
        EXPECT_FALSE(used[image]) << button.label;
        used[image] = true;
        EXPECT_FALSE(commandPrompt(button.command).empty()) << button.label;
    }
    EXPECT_EQ(commandPrompt(57345), "준비");
    EXPECT_EQ(commandPrompt(12345), "");
}

struct ScriptedMessages final : MessagePresenter {
    MessageResult answer = MessageResult::Yes;
    std::vector<Message> shown;
    MessageResult show(const Message& message) override {
        shown.push_back(message);
        return answer;
    }
};

TEST(ProfileSaving, AFailedSaveOnClosingAsksAndOnlyYesCloses) {
    ScriptedMessages messages;
    EXPECT_TRUE(mayCloseAfterSave(true, "/x/quorrel.dat", "", messages));
    EXPECT_TRUE(messages.shown.empty()) << "a good save closes without a word";

    messages.answer = MessageResult::No;
    EXPECT_FALSE(mayCloseAfterSave(false, "/x/quorrel.dat", "read-only", messages));
    messages.answer = MessageResult::Yes;
    EXPECT_TRUE(mayCloseAfterSave(false, "/x/quorrel.dat", "read-only", messages));

    ASSERT_EQ(messages.shown.size(), 2u);
    const Message& asked = messages.shown[0];
    EXPECT_EQ(asked.buttons, MessageButtons::YesNo);
    EXPECT_EQ(asked.caption, "Quorrel v2.1.1");
    EXPECT_EQ(asked.text, std::string("설정 파일 \"/x/quorrel.dat\"을(를) 저장하지 못했습니다.\n"
                                      "read-only") +
                              texts::kSaveFailedOnCloseQuestion);
}

}  // namespace
}  // namespace quorrel
