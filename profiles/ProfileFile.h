#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/ByteSource.h"
#include "platform/FileStore.h"
#include "platform/TextCodec.h"
#include "profiles/ProfileList.h"

namespace quorrel {

// The data file "quorrel.dat": one line per profile, eight fields joined by "||", CP949
// bytes with CR LF line ends on every platform. Fields are found in the file's bytes and
// decoded one by one; a byte that is not valid CP949 is carried through the profile's
// texts and written back unchanged (see TextCodec), so a load and a save keep every byte
// of every field.

// One line's bytes without the line end. Returns false when a text cannot be written in
// CP949 (it is then written with '?' in place of the missing characters).
bool formatProfileLine(const IpProfile& profile, const platform::TextCodec& codec,
                       std::string& line);

// Reads the fields of one line's bytes (without the line end) by the separator search, and
// returns the profile they describe, before the list's normalisation.
IpProfile parseProfileLine(std::string_view line, const platform::TextCodec& codec);

// The whole file's bytes. Returns false when a text cannot be written in CP949 (see
// formatProfileLine).
bool serializeProfiles(const ProfileList& list, const platform::TextCodec& codec,
                       std::string& bytes);

// How many bytes of lines a save gathers before it hands them on.
inline constexpr std::size_t kDataFilePieceBytes = 64 * 1024;

// The bytes of serializeProfiles handed to `sink` in pieces: each ends with the line that
// brings it to kDataFilePieceBytes or more, the last one with the last line. Stops at the
// sink's first false. Returns false when a text of the lines formatted cannot be written in
// CP949.
bool serializeProfilesInPieces(const ProfileList& list, const platform::TextCodec& codec,
                               const ByteSink& sink);

// Appends every profile of the file's bytes to the list. Blank lines are skipped and
// lines of any length are read whole.
void parseProfiles(std::string_view bytes, const platform::TextCodec& codec, ProfileList& list);

// The same for the bytes that `source` hands over in pieces, which may end anywhere (inside a
// line, between '\r' and '\n', inside a character): each line is read as soon as its piece
// ends it, and only the start of a line that runs on into the next piece is kept. Gives the
// list of parseProfiles of all the bytes at once.
void parseProfilesInPieces(const ByteSource& source, const platform::TextCodec& codec,
                           ProfileList& list);

// The data file of one install folder, with its start-up backup.
class ProfileDataFile {
public:
    // `installFolder` ends in the platform's folder separator.
    ProfileDataFile(platform::FileStore& files, const platform::TextCodec& codec,
                    std::string installFolder);

    std::string dataPath() const;
    std::string backupPath() const;

    // Copies the data file over the backup; a missing data file leaves an old backup.
    void backup();

    // Appends the file's profiles to `list` and says Loaded, or Missing when there is no
    // data file; a file that is there but cannot be read is the failure, saying why. Only
    // Loaded changes the list.
    enum class Found { Loaded, Missing };
    Expected<Found> load(ProfileList& list);

    // Rewrites the file from `list`. On failure the file keeps its old contents and the
    // failure says why.
    Done save(const ProfileList& list);

private:
    platform::FileStore& files_;
    const platform::TextCodec& codec_;
    std::string folder_;
};

}  // namespace quorrel
