#include <gtest/gtest.h>

#include "listview/AddressValue.h"

namespace quorrel {
namespace {

TEST(AddressValueParse, DottedQuadIsHostOrderWithFirstFieldMostSignificant) {
    EXPECT_EQ(parseAddress("192.168.0.1"), 0xC0A80001u);
    EXPECT_EQ(parseAddress("1.0.0.0"), 0x01000000u);
    EXPECT_EQ(parseAddress("0.0.0.0"), 0u);
    // The all-ones address is a real value, not a parse failure.
    EXPECT_EQ(parseAddress("255.255.255.255"), 0xFFFFFFFFu);
}

TEST(AddressValueParse, ShortFormsAndNumberBasesAsTheClassicParser) {
    EXPECT_EQ(parseAddress("10.1"), makeAddress(10, 0, 0, 1));
    EXPECT_EQ(parseAddress("172.16.300"), makeAddress(172, 16, 1, 44));
    EXPECT_EQ(parseAddress("3232235521"), makeAddress(192, 168, 0, 1));
    EXPECT_EQ(parseAddress("0x7f.1"), makeAddress(127, 0, 0, 1));
    EXPECT_EQ(parseAddress("010.0.0.1"), makeAddress(8, 0, 0, 1));
    EXPECT_EQ(parseAddress("1.2.3.4  "), makeAddress(1, 2, 3, 4));
}

TEST(AddressValueParse, RefusesTextThatIsNoAddress) {
    for (const char* text :
         {"", " ", "abc", "1.2.3.4.5", "1..2.3", "1.2.3.", ".1.2.3", "256.1.1.1", "1.2.3.256",
          "1.2.65536", "08.1.1.1", "0x", "1.2.3.4x", "1.2.3.4 x", "-1.2.3.4", "4294967296"}) {
        EXPECT_FALSE(parseAddress(text).has_value()) << text;
    }
}

TEST(AddressValueFormat, NoLeadingZerosAndBlankForZero) {
    EXPECT_EQ(formatAddress(makeAddress(10, 0, 0, 1)), "10.0.0.1");
    EXPECT_EQ(formatAddress(0xFFFFFFFFu), "255.255.255.255");
    EXPECT_EQ(formatAddress(0), "0.0.0.0");
    EXPECT_EQ(formatAddressOrBlank(0), "");
    EXPECT_EQ(formatAddressOrBlank(makeAddress(0, 0, 0, 1)), "0.0.0.1");
    EXPECT_EQ(formatAddress(*parseAddress("192.168.001.010")), "192.168.1.8");
}

TEST(AddressValueFormat, UnreadableStoredTextShowsBlank) {
    EXPECT_EQ(addressOrBlank("garbage"), 0u);
    EXPECT_EQ(addressOrBlank(""), 0u);
    EXPECT_EQ(addressOrBlank("255.255.255.255"), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace quorrel
