#include "profiles/NetworkMemory.h"

#include <algorithm>
#include <cctype>

#include "resources/AppTexts.h"

namespace quorrel {

namespace {

constexpr std::string_view kSeparator = "||";

std::string upperCase(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

// Six pairs of hex digits joined by colons.
bool isLinkAddress(std::string_view text) {
    if (text.size() != 17) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool colon = i % 3 == 2;
        if (colon ? text[i] != ':' : std::isxdigit(static_cast<unsigned char>(text[i])) == 0) {
            return false;
        }
    }
    return true;
}

std::string encoded(std::string_view text, const platform::TextCodec& codec) {
    std::string bytes;
    codec.encode(text, bytes);
    return bytes;
}

}  // namespace

bool sameNetwork(const NetworkFingerprint& a, const NetworkFingerprint& b) {
    if (!a.gatewayMac.empty() && !b.gatewayMac.empty()) {
        return upperCase(a.gatewayMac) == upperCase(b.gatewayMac) &&
               (a.wifiName.empty() || b.wifiName.empty() || a.wifiName == b.wifiName);
    }
    return a.gatewayMac.empty() && b.gatewayMac.empty() && !a.wifiName.empty() &&
           a.wifiName == b.wifiName;
}

NetworkMemory::Entry* NetworkMemory::find(const std::string& profileName) {
    for (Entry& entry : entries_) {
        if (entry.profileName == profileName) {
            return &entry;
        }
    }
    return nullptr;
}

bool NetworkMemory::remember(const std::string& profileName, const NetworkFingerprint& network,
                             Moment moment) {
    if (network.empty()) {
        return false;
    }
    if (const std::string* holder = recognise(network)) {
        if (*holder == profileName || moment == Moment::FoundInUse) {
            return false;
        }
    }
    // The network moves to this profile.
    std::erase_if(entries_, [&](const Entry& entry) {
        return entry.profileName != profileName && sameNetwork(entry.network, network);
    });
    NetworkFingerprint kept = network;
    kept.gatewayMac = upperCase(kept.gatewayMac);
    if (Entry* own = find(profileName)) {
        own->network = kept;
    } else {
        entries_.push_back(Entry{profileName, kept});
    }
    return true;
}

const std::string* NetworkMemory::recognise(const NetworkFingerprint& network) const {
    for (const Entry& entry : entries_) {
        if (sameNetwork(entry.network, network)) {
            return &entry.profileName;
        }
    }
    return nullptr;
}

const NetworkFingerprint* NetworkMemory::networkOf(const std::string& profileName) const {
    for (const Entry& entry : entries_) {
        if (entry.profileName == profileName) {
            return &entry.network;
        }
    }
    return nullptr;
}

bool NetworkMemory::rename(const std::string& from, const std::string& to) {
    Entry* entry = find(from);
    if (entry == nullptr || from == to) {
        return false;
    }
    // A profile that already had the new name gives its network up.
    std::erase_if(entries_, [&](const Entry& other) { return other.profileName == to; });
    find(from)->profileName = to;
    return true;
}

bool NetworkMemory::forget(const std::string& profileName) {
    return std::erase_if(entries_,
                         [&](const Entry& entry) { return entry.profileName == profileName; }) > 0;
}

std::string NetworkMemory::serialize(const platform::TextCodec& codec) const {
    std::string bytes;
    for (const Entry& entry : entries_) {
        bytes += encoded(entry.profileName, codec);
        bytes += kSeparator;
        bytes += entry.network.gatewayMac;
        bytes += kSeparator;
        bytes += encoded(entry.network.wifiName, codec);
        bytes += "\r\n";
    }
    return bytes;
}

void NetworkMemory::parse(std::string_view bytes, const platform::TextCodec& codec) {
    entries_.clear();
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        std::string_view line = bytes.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const std::size_t first = line.find(kSeparator);
        const std::size_t second = first == std::string_view::npos
                                       ? std::string_view::npos
                                       : line.find(kSeparator, first + kSeparator.size());
        if (first == 0 || second == std::string_view::npos) {
            continue;
        }
        const std::string_view mac =
            line.substr(first + kSeparator.size(), second - first - kSeparator.size());
        Entry entry{
            codec.decode(line.substr(0, first)),
            {upperCase(std::string(mac)), codec.decode(line.substr(second + kSeparator.size()))}};
        if ((!mac.empty() && !isLinkAddress(mac)) || entry.network.empty() ||
            find(entry.profileName) != nullptr) {
            continue;
        }
        entries_.push_back(std::move(entry));
    }
}

std::string NetworkMemory::path(const std::string& installFolder) {
    return installFolder + texts::kNetworkFileName;
}

void NetworkMemory::load(platform::FileStore& files, const platform::TextCodec& codec,
                         const std::string& installFolder) {
    entries_.clear();
    if (const auto bytes = files.readAll(path(installFolder))) {
        parse(*bytes, codec);
    }
}

Done NetworkMemory::save(platform::FileStore& files, const platform::TextCodec& codec,
                         const std::string& installFolder) const {
    return files.writeAtomically(path(installFolder), serialize(codec));
}

}  // namespace quorrel
