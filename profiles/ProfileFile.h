#pragma once

#include <string>
#include <string_view>

#include "platform/FileStore.h"
#include "platform/TextCodec.h"
#include "profiles/ProfileList.h"

namespace quorrel {

// The data file "quorrel.dat": one line per profile, eight fields joined by "||", CP949
// bytes with CR LF line ends on every platform.

// One line without its line end, in UTF-8.
std::string formatProfileLine(const IpProfile& profile);

// Reads the fields of one line (without its line end) by the separator search, and
// returns the profile they describe, before the list's normalisation.
IpProfile parseProfileLine(std::string_view line);

// The whole file's bytes. Returns false when a text cannot be written in CP949 (it is
// then written with '?' in place of the missing characters).
bool serializeProfiles(const ProfileList& list, const platform::TextCodec& codec,
                       std::string& bytes);

// Appends every profile of the file's bytes to the list. Blank lines are skipped and
// lines of any length are read whole.
void parseProfiles(std::string_view bytes, const platform::TextCodec& codec, ProfileList& list);

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

    // Appends the file's profiles to `list`. False when the file cannot be read; the list
    // is then unchanged.
    bool load(ProfileList& list);

    // Rewrites the file from `list`. On failure the file keeps its old contents and
    // `error` says why.
    bool save(const ProfileList& list, std::string& error);

private:
    platform::FileStore& files_;
    const platform::TextCodec& codec_;
    std::string folder_;
};

}  // namespace quorrel
