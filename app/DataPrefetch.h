#pragma once

#include <future>
#include <string>

#include "base/Expected.h"
#include "platform/FileStore.h"
#include "platform/TextCodec.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileList.h"

namespace quorrel {

// The data file of an install folder, read on a thread of its own while the window is being
// built: first the backup copy, then the profiles, as ProfileStore::open takes them. The
// files and the codec are used by that thread alone until take() returns.
class DataPrefetch {
public:
    struct Read {
        Expected<ProfileDataFile::Found> found = ProfileDataFile::Found::Missing;
        ProfileList profiles;
    };

    DataPrefetch(platform::FileStore& files, const platform::TextCodec& codec,
                 std::string installFolder);
    // Waits for the thread when take() was not called.
    ~DataPrefetch();
    DataPrefetch(const DataPrefetch&) = delete;
    DataPrefetch& operator=(const DataPrefetch&) = delete;

    // The folder it reads, ending in the folder separator.
    const std::string& installFolder() const { return folder_; }

    // Waits for the thread and hands over what it read; once only.
    Read take();

private:
    std::string folder_;
    std::future<Read> read_;
};

}  // namespace quorrel
