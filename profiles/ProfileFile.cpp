#include "profiles/ProfileFile.h"

#include <array>
#include <cstddef>
#include <utility>

#include "base/LineAssembler.h"
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
void assignDecoded(CompactText& text, std::string_view bytes, const platform::TextCodec& codec) {
    if (platform::isAscii(bytes)) {
        text.assign(bytes);
    } else {
        text = codec.decode(bytes);
    }
}

// The nine fields of a line (field[0] unused). The separators are searched one after another
// in the line's bytes, not counted: s[k] is the position of the k-th separator, s[0] = -2,
// and a failed search gives -1.
std::array<std::string_view, 9> splitFields(std::string_view line) {
    std::array<long, 8> s{};
    s[0] = -2;
    std::array<std::string_view, 9> field{};
    for (std::size_t k = 1; k <= 7; ++k) {
        s[k] = findSeparator(line, s[k - 1] + 2);
        field[k] = fieldAt(line, s[k - 1] + 2, s[k] - s[k - 1] - 2);
    }
    const long lastStart = s[7] + 2;
    field[8] = fieldAt(line, lastStart, static_cast<long>(line.size()) - lastStart);
    return field;
}

// Fills `profile` (empty) from a line's fields; with `listed`, only the texts that the list's
// normalisation keeps are decoded.
void readFields(const std::array<std::string_view, 9>& field, const platform::TextCodec& codec,
                bool listed, IpProfile& profile) {
    assignDecoded(profile.name, field[1], codec);
    profile.useDhcp = field[2] == kFalse ? 0 : 1;
    if (!listed || profile.useDhcp == 0) {
        assignDecoded(profile.ipAddress, field[3], codec);
        assignDecoded(profile.subnetMask, field[4], codec);
        assignDecoded(profile.gateway, field[5], codec);
    }
    if (field[6] == kFalse) {
        profile.dnsAuto = 0;
        assignDecoded(profile.primaryDns, field[7], codec);
        assignDecoded(profile.secondaryDns, field[8], codec);
    } else {
        // Automatic DNS is possible only together with an automatic address.
        profile.dnsAuto = profile.useDhcp == 1 ? 1 : 0;
    }
}

// Appends one line's bytes without the line end to `out`; false as formatProfileLine says.
bool appendProfileLine(const IpProfile& profile, const platform::TextCodec& codec, std::string& out,
                       std::string& encoded) {
    const std::array<std::string_view, 8> fields = {
        profile.name,       profile.useDhcp != 0 ? kTrue : kFalse,
        profile.ipAddress,  profile.subnetMask,
        profile.gateway,    profile.dnsAuto != 0 ? kTrue : kFalse,
        profile.primaryDns, profile.secondaryDns,
    };
    bool lossless = true;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            out += kSeparator;
        }
        if (platform::isAscii(fields[i])) {
            out += fields[i];
            continue;
        }
        lossless = codec.encode(fields[i], encoded) && lossless;
        out += encoded;
    }
    return lossless;
}

}  // namespace

bool formatProfileLine(const IpProfile& profile, const platform::TextCodec& codec,
                       std::string& line) {
    line.clear();
    std::string encoded;
    return appendProfileLine(profile, codec, line, encoded);
}

IpProfile parseProfileLine(std::string_view line, const platform::TextCodec& codec) {
    IpProfile profile;
    readFields(splitFields(line), codec, false, profile);
    return profile;
}

bool serializeProfilesInPieces(const ProfileList& list, const platform::TextCodec& codec,
                               const ByteSink& sink) {
    bool lossless = true;
    std::string piece;
    // Room for the line that fills the piece, unless that line is a very long one.
    piece.reserve(kDataFilePieceBytes + 1024);
    std::string encoded;
    for (const auto& profile : list) {
        lossless = appendProfileLine(profile, codec, piece, encoded) && lossless;
        piece += "\r\n";
        if (piece.size() >= kDataFilePieceBytes) {
            if (!sink(piece)) {
                return lossless;
            }
            piece.clear();
        }
    }
    if (!piece.empty()) {
        sink(piece);
    }
    return lossless;
}

bool serializeProfiles(const ProfileList& list, const platform::TextCodec& codec,
                       std::string& bytes) {
    bytes.clear();
    bytes.reserve(list.size() * 72);
    return serializeProfilesInPieces(list, codec, [&bytes](std::string_view piece) {
        bytes += piece;
        return true;
    });
}

void parseProfilesInPieces(const ByteSource& source, const platform::TextCodec& codec,
                           ProfileList& list) {
    LineAssembler lines([&codec, &list](std::string_view line) {
        // A blank line is skipped rather than ending the file: ending there would drop
        // every later profile at the next save.
        if (line.empty()) {
            return;
        }
        // Read where the list keeps it, without the texts its normalisation drops.
        IpProfile profile;
        readFields(splitFields(line), codec, true, profile);
        list.append(std::move(profile));
    });
    source([&lines](std::string_view piece) {
        lines.take(piece);
        return true;
    });
    lines.finish();
}

void parseProfiles(std::string_view bytes, const platform::TextCodec& codec, ProfileList& list) {
    parseProfilesInPieces(wholeBytes(bytes), codec, list);
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

Expected<ProfileDataFile::Found> ProfileDataFile::load(ProfileList& list) {
    // The file's bytes are parsed while they are read, a piece at a time, never held whole.
    // The profiles wait in a list of their own until the read has come to the file's end.
    ProfileList read;
    platform::FileReadOutcome outcome;
    parseProfilesInPieces(
        [this, &outcome](const ByteSink& sink) { outcome = files_.readInPieces(dataPath(), sink); },
        codec_, read);
    switch (outcome.status) {
        case platform::FileReadOutcome::Status::Missing:
            return Found::Missing;
        case platform::FileReadOutcome::Status::Unreadable:
            return failure(std::move(outcome.error));
        case platform::FileReadOutcome::Status::Read:
            break;
    }
    list.appendAll(std::move(read));
    return Found::Loaded;
}

Done ProfileDataFile::save(const ProfileList& list) {
    // The file's bytes are made while they are written, a piece at a time, never held whole.
    return files_.writeAtomicallyFrom(dataPath(), [this, &list](const ByteSink& sink) {
        serializeProfilesInPieces(list, codec_, sink);
    });
}

}  // namespace quorrel
