#pragma once

#include <optional>
#include <string>

#include "profiles/NetworkMemory.h"

namespace quorrel {

// What to do about the network the chosen adapter has come up on.
struct RecognitionStep {
    enum class Kind {
        Nothing,
        Offer,   // ask the user whether to apply `profileName` (`text` is the question)
        Switch,  // apply `profileName` at once, with the connection check (`text` says so)
    };
    Kind kind = Kind::Nothing;
    std::string profileName;
    std::string text;
};

// The program's knowledge of where it is: after the chosen adapter's link came up or its
// gateway changed, a look at the network it is on is turned into an offer of the profile
// used there before (or, with 자동 전환, into the apply itself). Only a move counts: a look
// at the network seen last (the program's own applies change the gateway, and a declined
// or put-back profile is not to come again) does nothing, as does a network no profile
// was used on, one whose profile is in use, and any network while an apply runs.
class NetworkRecognition {
public:
    struct Situation {
        // The profile with the in-use mark; empty without one.
        std::string profileInUse;
        std::string connectionName;
        bool autoSwitch = false;
        // An apply runs, or the window waits for an answer.
        bool busy = false;
    };

    RecognitionStep seen(const NetworkFingerprint& network, const NetworkMemory& memory,
                         const Situation& situation);

    // The network of the last look that counted (none before the first).
    const std::optional<NetworkFingerprint>& lastSeen() const { return last_; }

private:
    std::optional<NetworkFingerprint> last_;
};

}  // namespace quorrel
