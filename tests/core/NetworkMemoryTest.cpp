// The networks the profiles were used on: which fingerprints name one network, who holds a
// network, and "quorrel.net" with its damaged lines.
#include <gtest/gtest.h>

#include "profiles/NetworkMemory.h"
#include "tests/support/MemoryFileStore.h"
#include "tests/support/PassThroughCodec.h"

namespace quorrel {
namespace {

using Moment = NetworkMemory::Moment;

const NetworkFingerprint kOffice{"00:11:22:AA:BB:01", ""};
const NetworkFingerprint kHome{"00:11:22:AA:BB:02", ""};

TEST(NetworkMemoryTest, FingerprintsNameOneNetworkByGatewayAndWirelessName) {
    struct Case {
        NetworkFingerprint a, b;
        bool same;
    };
    const Case cases[] = {
        {{"00:11:22:aa:bb:01", ""}, kOffice, true},
        {kOffice, kHome, false},
        {{"00:11:22:AA:BB:01", "Office"}, {"00:11:22:AA:BB:01", ""}, true},
        {{"00:11:22:AA:BB:01", "Office"}, {"00:11:22:AA:BB:01", "Guest"}, false},
        {{"", "Office"}, {"", "Office"}, true},
        {{"", "Office"}, {"00:11:22:AA:BB:01", "Office"}, false},
        {{"", ""}, {"", ""}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sameNetwork(c.a, c.b), c.same) << c.a.gatewayMac << "/" << c.a.wifiName << " vs "
                                                 << c.b.gatewayMac << "/" << c.b.wifiName;
    }
}

TEST(NetworkMemoryTest, AnApplyTakesTheNetworkOverAndTheStartUpOnlyFillsAGap) {
    NetworkMemory memory;
    EXPECT_TRUE(memory.remember("사무실", kOffice, Moment::FoundInUse));
    // Another profile that describes the same configuration does not take it at start-up.
    EXPECT_FALSE(memory.remember("집", kOffice, Moment::FoundInUse));
    ASSERT_NE(memory.recognise(kOffice), nullptr);
    EXPECT_EQ(*memory.recognise(kOffice), "사무실");
    // Applied there, it does, and a profile holds one network: the latest.
    EXPECT_TRUE(memory.remember("집", kOffice, Moment::Applied));
    EXPECT_EQ(*memory.recognise(kOffice), "집");
    EXPECT_EQ(memory.networkOf("사무실"), nullptr);
    EXPECT_TRUE(memory.remember("집", kHome, Moment::Applied));
    EXPECT_EQ(memory.recognise(kOffice), nullptr);
    EXPECT_FALSE(memory.remember("집", kHome, Moment::Applied));
    // Nothing seen, nothing remembered.
    EXPECT_FALSE(memory.remember("실험실", NetworkFingerprint{}, Moment::Applied));

    EXPECT_TRUE(memory.rename("집", "우리 집"));
    EXPECT_EQ(*memory.recognise(kHome), "우리 집");
    EXPECT_TRUE(memory.forget("우리 집"));
    EXPECT_EQ(memory.recognise(kHome), nullptr);
    EXPECT_FALSE(memory.forget("우리 집"));
}

TEST(NetworkMemoryTest, TheFileKeepsItsEntriesAndSkipsDamagedLines) {
    test::PassThroughCodec codec;
    test::MemoryFileStore files;
    NetworkMemory memory;
    memory.remember("사무실", {"00:11:22:aa:bb:01", "Office"}, Moment::Applied);
    memory.remember("집", kHome, Moment::Applied);
    ASSERT_TRUE(memory.save(files, codec, "/data/"));
    EXPECT_EQ(files.files["/data/quorrel.net"],
              "사무실||00:11:22:AA:BB:01||Office\r\n집||00:11:22:AA:BB:02||\r\n");

    files.files["/data/quorrel.net"] =
        "garbage\r\n"                          // no separators
        "||00:11:22:AA:BB:03||\r\n"            // no name
        "실험실||00:11:22:AA:BB||\n"           // not a link address
        "빈칸||||\r\n"                         // nothing to recognise
        "사무실||00:11:22:AA:BB:01||Office\n"  // a bare LF ends a line too
        "사무실||00:11:22:AA:BB:09||\r\n"      // the first of a name counts
        "카페||||Cafe || Bar";                 // the name runs to the end of the line
    NetworkMemory loaded;
    loaded.load(files, codec, "/data/");
    ASSERT_EQ(loaded.entries().size(), 2u);
    EXPECT_EQ(loaded.entries()[0].profileName, "사무실");
    EXPECT_EQ(loaded.entries()[0].network, (NetworkFingerprint{"00:11:22:AA:BB:01", "Office"}));
    EXPECT_EQ(loaded.entries()[1].network, (NetworkFingerprint{"", "Cafe || Bar"}));

    files.files.erase("/data/quorrel.net");
    loaded.load(files, codec, "/data/");
    EXPECT_TRUE(loaded.entries().empty());
}

}  // namespace
}  // namespace quorrel
