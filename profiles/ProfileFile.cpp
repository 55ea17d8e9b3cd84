#include "profiles/ProfileFile.h"

#include <array>
#include <cstddef>

#include "resources/AppTexts.h"

namespace quorrel {

namespace {

constexpr std::string_view kSeparator = "||";
constexpr std::string_view kTrue = "TRUE";
constexpr std::string_view kFalse = "FALSE";

// Position of the next separator at or after `start`, or -1.
long findSeparator(std::string_view line, long start) {
    if (start < 0 || static_cast<std::size_t>(start) > line.size()) {
        return -1;
    }
    const auto found = line.find(kSeparator, static_cast<std::size_t>(start));
    return found == std::string_view::npos ? -1 : static_cast<long>(found);
}

// The text from `start` with `length` bytes, empty when the length is negative or the
// start lies beyond the line, and never running past the line's end.
std::string_view fieldAt(std::string_view line, long start, long length) {
    if (length < 0 || start < 0 || static_cast<std::size_t>(start) > line.size()) {
        return {};
    }
    return line.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length));
}

// ASCII bytes are the same characters in CP949 and UTF-8: only other texts are converted.
std::string decodeField(std::string_view bytes, const platform::TextCodec& codec) {
    return platform::isAscii(bytes) ? std::string(bytes) : codec.decode(bytes);
}

}  // namespace

bool formatProfileLine(const IpProfile& profile, const platform::TextCodec& codec,
                       std::string& line) {
    const std::array<std::string_view, 8> fields = {
        profile.name,       profile.useDhcp != 0 ? kTrue : kFalse,
        profile.ipAddress,  profile.subnetMask,
        profile.gateway,    profile.dnsAuto != 0 ? kTrue : kFalse,
        profile.primaryDns, profile.secondaryDns,
    };
    bool lossless = true;
    line.clear();
    std::string encoded;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            line += kSeparator;
        }
        if (platform::isAscii(fields[i])) {
            line += fields[i];
            continue;
        }
        lossless = codec.encode(fields[i], encoded) && lossless;
        line += encoded;
    }
    return lossless;
}

IpProfile parseProfileLine(std::string_view line, const platform::TextCodec& codec) {
    // The separators are searched one after another in the line's bytes, not counted:
    // s[k] is the position of the k-th separator, s[0] = -2, and a failed search gives -1.
    std::array<long, 8> s{};
    s[0] = -2;
    std::array<std::string_view, 9> field{};
    for (std::size_t k = 1; k <= 7; ++k) {
        s[k] = findSeparator(line, s[k - 1] + 2);
        field[k] = fieldAt(line, s[k - 1] + 2, s[k] - s[k - 1] - 2);
    }
    const long lastStart = s[7] + 2;
    field[8] = fieldAt(line, lastStart, static_cast<long>(line.size()) - lastStart);

    IpProfile profile;
    profile.name = decodeField(field[1], codec);
    profile.useDhcp = field[2] == kFalse ? 0 : 1;
    profile.ipAddress = decodeField(field[3], codec);
    profile.subnetMask = decodeField(field[4], codec);
    profile.gateway = decodeField(field[5], codec);
    if (field[6] == kFalse) {
        profile.dnsAuto = 0;
        profile.primaryDns = decodeField(field[7], codec);
        profile.secondaryDns = decodeField(field[8], codec);
    } else {
        // Automatic DNS is possible only together with an automatic address.
        profile.dnsAuto = profile.useDhcp == 1 ? 1 : 0;
    }
    return profile;
}

bool serializeProfiles(const ProfileList& list, const platform::TextCodec& codec,
                       std::string& bytes) {
    bool lossless = true;
    bytes.clear();
    bytes.reserve(list.size() * 64);
    std::string line;
    for (const auto& profile : list) {
        lossless = formatProfileLine(profile, codec, line) && lossless;
        bytes += line;
        bytes += "\r\n";
    }
    return lossless;
}

void parseProfiles(std::string_view bytes, const platform::TextCodec& codec, ProfileList& list) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        auto end = bytes.find('\n', pos);
        const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        std::string_view line = bytes.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        pos = next;
        // A blank line is skipped rather than ending the file: ending there would drop
        // every later profile at the next save.
        if (line.empty()) {
            continue;
        }
        list.append(parseProfileLine(line, codec));
    }
}

ProfileDataFile::ProfileDataFile(platform::FileStore& files, const platform::TextCodec& codec,
                                 std::string installFolder)
    : files_(files), codec_(codec), folder_(std::move(installFolder)) {}

std::string ProfileDataFile::dataPath() const {
    return folder_ + texts::kDataFileName;
}

std::string ProfileDataFile::backupPath() const {
    return folder_ + texts::kBackupFileName;
}

void ProfileDataFile::backup() {
    files_.copyFile(dataPath(), backupPath());
}

ProfileDataFile::LoadResult ProfileDataFile::load(ProfileList& list, std::string& error) {
    const platform::FileRead file = files_.read(dataPath());
    switch (file.status) {
        case platform::FileRead::Status::Missing:
            return LoadResult::Missing;
        case platform::FileRead::Status::Unreadable:
            error = file.error;
            return LoadResult::Unreadable;
        case platform::FileRead::Status::Read:
            break;
    }
    parseProfiles(file.bytes, codec_, list);
    return LoadResult::Loaded;
}

Done ProfileDataFile::save(const ProfileList& list) {
    std::string bytes;
    serializeProfiles(list, codec_, bytes);
    return files_.writeAtomically(dataPath(), bytes);
}

}  // namespace quorrel
