#include "app/NetworkRecognition.h"

#include "base/TextFormat.h"
#include "resources/RecognitionTexts.h"

namespace quorrel {

RecognitionStep NetworkRecognition::seen(const NetworkFingerprint& network,
                                         const NetworkMemory& memory, const Situation& situation) {
    if (network.empty() || situation.busy) {
        return {};
    }
    const bool moved = !last_ || !sameNetwork(*last_, network);
    last_ = network;
    const std::string* profile = memory.recognise(network);
    if (!moved || profile == nullptr || *profile == situation.profileInUse) {
        return {};
    }
    if (situation.autoSwitch) {
        return {RecognitionStep::Kind::Switch, *profile,
                fillFormat(texts::kRecognisedSwitchingFormat, {*profile})};
    }
    return {
        RecognitionStep::Kind::Offer, *profile,
        fillFormat(texts::kRecognisedOfferFormat, {*profile, situation.connectionName, *profile})};
}

}  // namespace quorrel
