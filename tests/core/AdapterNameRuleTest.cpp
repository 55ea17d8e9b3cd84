#include "apply/AdapterNameRule.h"

#include <gtest/gtest.h>

#include "resources/ApplyTexts.h"

namespace quorrel {
namespace {

TEST(AdapterNameRule, NamesTheCommandLinesCannotCarryAreRefused) {
    for (const char* good : {"eth0", "로컬 영역 연결", "Wi-Fi 2", "a\\b", "100%", "lan#1", "'x'",
                             "\\\\server", " leading", "trailing "}) {
        EXPECT_TRUE(adapterNameFitsCommandLines(good)) << good;
        EXPECT_FALSE(unusableAdapterNameMessage(good)) << good;
    }
    for (const char* bad : {"", "lan\"0", "\"", "a=b", "name=eth1", "=", "eth0\\", "a\\\\"}) {
        EXPECT_FALSE(adapterNameFitsCommandLines(bad)) << bad;
    }
}

TEST(AdapterNameRule, TheMessageNamesTheAdapterAndWhy) {
    const auto message = unusableAdapterNameMessage("a=b");
    ASSERT_TRUE(message);
    EXPECT_EQ(message->text,
              "어댑터 \"a=b\"의 이름에는 큰따옴표(\"), 등호(=) 또는 맨 끝의 역슬래시(\\)가 들어 "
              "있어 이 프로그램으로 설정할 수 없습니다.\n어댑터의 이름을 바꾼 뒤 다시 적용해 "
              "주십시오.");
    EXPECT_EQ(message->caption, texts::kUnusableAdapterCaption);
    EXPECT_EQ(message->icon, MessageIcon::Exclamation);
    EXPECT_EQ(message->buttons, MessageButtons::Ok);

    const auto unnamed = unusableAdapterNameMessage("");
    ASSERT_TRUE(unnamed);
    EXPECT_EQ(unnamed->text, texts::kUnnamedAdapterText);
}

}  // namespace
}  // namespace quorrel
