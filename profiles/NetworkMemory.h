#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/FileStore.h"
#include "platform/NetworkSensor.h"
#include "platform/TextCodec.h"

namespace quorrel {

using platform::NetworkFingerprint;

// Whether two fingerprints name the same network: the same gateway link address (any
// letter case), and where both carry a wireless network's name, the same name; without a
// gateway address on either side, the same wireless network's name.
bool sameNetwork(const NetworkFingerprint& a, const NetworkFingerprint& b);

// The networks the profiles were used on, one per profile name, kept in "quorrel.net" beside
// the data file so that the data file stays as it is. A network belongs to one profile at a
// time.
class NetworkMemory {
public:
    struct Entry {
        std::string profileName;
        NetworkFingerprint network;
    };

    // Why a network is remembered: the user applied the profile there (it takes the network
    // over from any other profile), or the start-up found the profile in use (only while no
    // profile holds the network: several profiles may describe one configuration).
    enum class Moment { Applied, FoundInUse };

    // Remembers `network` for `profileName`. False when nothing changed.
    bool remember(const std::string& profileName, const NetworkFingerprint& network, Moment moment);
    // The profile that holds `network`, or nullptr.
    const std::string* recognise(const NetworkFingerprint& network) const;
    const NetworkFingerprint* networkOf(const std::string& profileName) const;
    // A renamed profile takes its network along; a deleted one takes it away. False when
    // the profile held none.
    bool rename(const std::string& from, const std::string& to);
    bool forget(const std::string& profileName);

    const std::vector<Entry>& entries() const { return entries_; }

    // The file's bytes: a line "name||gateway MAC||wireless network name" per entry, CP949
    // with CR LF, as the data file. Reading skips a damaged line (no separators, an empty
    // name, a gateway address that is not one, nothing to recognise) and keeps the first
    // entry of a name.
    std::string serialize(const platform::TextCodec& codec) const;
    void parse(std::string_view bytes, const platform::TextCodec& codec);

    // "quorrel.net" of the install folder (ending in the folder separator). A missing or
    // unreadable file leaves the memory empty.
    static std::string path(const std::string& installFolder);
    void load(platform::FileStore& files, const platform::TextCodec& codec,
              const std::string& installFolder);
    Done save(platform::FileStore& files, const platform::TextCodec& codec,
              const std::string& installFolder) const;

private:
    Entry* find(const std::string& profileName);
    std::vector<Entry> entries_;
};

}  // namespace quorrel
