// The offer of the profile used on the network the adapter has come up on: which looks
// lead to an offer or an automatic switch, and which do nothing.
#include <gtest/gtest.h>

#include "app/NetworkRecognition.h"
#include "resources/RecognitionTexts.h"

namespace quorrel {
namespace {

using Kind = RecognitionStep::Kind;
using Situation = NetworkRecognition::Situation;

const NetworkFingerprint kOffice{"02:00:00:00:A0:01", ""};
const NetworkFingerprint kHome{"02:00:00:00:B0:02", ""};
const NetworkFingerprint kCafe{"02:00:00:00:C0:03", ""};
const NetworkFingerprint kNothing{};

NetworkMemory officeAndHome() {
    NetworkMemory memory;
    memory.remember("사무실", kOffice, NetworkMemory::Moment::Applied);
    memory.remember("집", kHome, NetworkMemory::Moment::Applied);
    return memory;
}

TEST(NetworkRecognitionTest, OnlyAMoveToANetworkOfAnotherProfileLeadsAnywhere) {
    struct Look {
        NetworkFingerprint network;
        Situation situation;
        Kind expected;
        const char* profile;
    };
    const Situation atHome{"집", "lan0", false, false};
    const Situation automatic{"집", "lan0", true, false};
    const Situation busy{"집", "lan0", false, true};
    // One run of looks, each after the one before.
    const Look looks[] = {
        {kHome, atHome, Kind::Nothing, ""},        // the profile in use is the network's
        {kOffice, atHome, Kind::Offer, "사무실"},  // moved to the office
        {kOffice, atHome, Kind::Nothing, ""},      // declined: the same network again
        {kNothing, atHome, Kind::Nothing, ""},     // no gateway answered
        {kOffice, atHome, Kind::Nothing, ""},      // still the network seen last
        {kCafe, atHome, Kind::Nothing, ""},        // a network no profile was used on
        {kOffice, busy, Kind::Nothing, ""},        // an apply runs
        {kOffice, automatic, Kind::Switch, "사무실"},
        {kHome, automatic, Kind::Nothing, ""},
        {kOffice, Situation{"", "lan0", false, false}, Kind::Offer, "사무실"},
    };
    NetworkRecognition recognition;
    const NetworkMemory memory = officeAndHome();
    int step = 0;
    for (const Look& look : looks) {
        const RecognitionStep got = recognition.seen(look.network, memory, look.situation);
        EXPECT_EQ(got.kind, look.expected) << "look " << step;
        EXPECT_EQ(got.profileName, look.profile) << "look " << step;
        ++step;
    }
}

TEST(NetworkRecognitionTest, TheOfferNamesTheProfileAndTheAdapter) {
    NetworkRecognition recognition;
    const RecognitionStep offer =
        recognition.seen(kOffice, officeAndHome(), Situation{"집", "로컬 영역 연결", false, false});
    EXPECT_EQ(offer.text,
              "'사무실' 프로필을 쓰던 네트워크에 연결되었습니다.\n"
              "어댑터 로컬 영역 연결에 '사무실' 프로필을 적용할까요?");
}

}  // namespace
}  // namespace quorrel
