#include <gtest/gtest.h>

#include <string>

#include "listview/AddressFieldModel.h"

namespace quorrel {
namespace {

void type(AddressFieldModel& model, const std::string& keys) {
    for (char c : keys) {
        if (c == '.') {
            model.typeDot();
        } else {
            model.typeDigit(c);
        }
    }
}

std::string shown(const AddressFieldModel& model) {
    const auto& f = model.fields();
    return f[0] + "|" + f[1] + "|" + f[2] + "|" + f[3];
}

AddressFieldModel addModeControl() {
    AddressFieldModel model;
    model.setRange(0, {1, 223});
    model.setRange(3, {1, 254});
    return model;
}

TEST(AddressFieldTyping, DigitsAndDotsMoveAcrossTheFields) {
    AddressFieldModel model;
    model.enterField(0);
    type(model, "192.168.0.1");
    EXPECT_EQ(shown(model), "192|168|0|1");
    EXPECT_EQ(model.value(), makeAddress(192, 168, 0, 1));
    EXPECT_EQ(model.currentField(), 3);
}

TEST(AddressFieldTyping, AFieldThatCannotTakeAnotherDigitMovesOn) {
    AddressFieldModel model;
    type(model, "30");  // 300 would be too large
    EXPECT_EQ(model.currentField(), 1);
    type(model, "25");  // 250 still fits
    EXPECT_EQ(model.currentField(), 1);
    type(model, "5");
    EXPECT_EQ(model.currentField(), 2);
    // The dot after a field that moved on by itself is swallowed, not a skip.
    type(model, ".7.8");
    EXPECT_EQ(shown(model), "30|255|7|8");
}

TEST(AddressFieldTyping, DotInAnEmptyFieldOrTheLastFieldStays) {
    AddressFieldModel model;
    EXPECT_FALSE(model.typeDot());
    EXPECT_EQ(model.currentField(), 0);
    type(model, "1.2.3.4");
    EXPECT_FALSE(model.typeDot());
    EXPECT_EQ(shown(model), "1|2|3|4");
}

TEST(AddressFieldTyping, BackspaceDeletesThenMovesBackFromAFieldStart) {
    AddressFieldModel model;
    type(model, "10.2");
    EXPECT_EQ(model.currentField(), 1);
    EXPECT_TRUE(model.backspace());
    EXPECT_TRUE(model.isFieldBlank(1));
    EXPECT_TRUE(model.backspace());  // at the start of field 1: back to the end of field 0
    EXPECT_EQ(model.currentField(), 0);
    EXPECT_EQ(model.caret(), 2);
    EXPECT_EQ(shown(model), "10|||");
    EXPECT_TRUE(model.backspace());
    EXPECT_EQ(shown(model), "1|||");
    model.backspace();
    EXPECT_FALSE(model.backspace());  // start of the first field
    EXPECT_TRUE(model.isBlank());
}

TEST(AddressFieldTyping, RetypingAFilledAddressSwallowsTheDotAfterAFullField) {
    AddressFieldModel model;
    model.setAddress(makeAddress(10, 20, 30, 40));
    model.enterField(0);
    type(model, "192.168.1.2");
    EXPECT_EQ(shown(model), "192|168|1|2");
}

TEST(AddressFieldRanges, AddModeRangesClampOnTypingAndOnLeaving) {
    AddressFieldModel model = addModeControl();
    type(model, "224");  // the first field tops out at 223
    EXPECT_EQ(model.fields()[0], "223");
    EXPECT_EQ(model.currentField(), 1);
    type(model, "0.0.255");
    EXPECT_EQ(shown(model), "223|0|0|254");

    AddressFieldModel low = addModeControl();
    type(low, "0");
    EXPECT_EQ(low.fields()[0], "0");  // still being typed
    low.typeDot();
    EXPECT_EQ(low.fields()[0], "1");  // below the minimum once the field is left
    type(low, "2.3.0");
    low.leave();
    EXPECT_EQ(shown(low), "1|2|3|1");
}

TEST(AddressFieldRanges, BlankFieldsStayBlankAndCountAsZero) {
    AddressFieldModel model = addModeControl();
    EXPECT_TRUE(model.isBlank());
    EXPECT_EQ(model.value(), 0u);
    model.enterField(2);
    type(model, "7");
    model.leave();
    EXPECT_FALSE(model.isBlank());
    EXPECT_TRUE(model.isFieldBlank(0));  // the minimum applies to typed fields only
    EXPECT_EQ(model.value(), makeAddress(0, 0, 7, 0));
}

TEST(AddressFieldPaste, DottedAddressFillsAllFourWithinTheRanges) {
    AddressFieldModel model = addModeControl();
    EXPECT_TRUE(model.paste(" 10.1.2.3\n"));
    EXPECT_EQ(model.value(), makeAddress(10, 1, 2, 3));
    EXPECT_TRUE(model.paste("0.1.2.255"));
    EXPECT_EQ(shown(model), "1|1|2|254");
    for (const char* bad : {"1.2.3", "1.2.3.4.5", "1.2.3.256", "a.b.c.d", "1..2.3", ""}) {
        EXPECT_FALSE(model.paste(bad)) << bad;
    }
    EXPECT_EQ(shown(model), "1|1|2|254");
}

TEST(AddressFieldPaste, DigitsAloneAreTyped) {
    AddressFieldModel model;
    EXPECT_TRUE(model.paste("19216"));
    EXPECT_EQ(shown(model), "192|16||");
}

TEST(AddressFieldState, ZeroBlanksAndADisabledControlTakesNoKeys) {
    AddressFieldModel model;
    model.setAddress(makeAddress(255, 0, 0, 0));
    EXPECT_EQ(shown(model), "255|0|0|0");
    model.setAddress(0);
    EXPECT_TRUE(model.isBlank());
    model.setEnabled(false);
    EXPECT_FALSE(model.typeDigit('1'));
    EXPECT_FALSE(model.paste("1.2.3.4"));
    EXPECT_TRUE(model.isBlank());
}

}  // namespace
}  // namespace quorrel
