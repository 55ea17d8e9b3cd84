#pragma once

#include <future>
#include <string>

#include "base/Expected.h"
#include "platform/FileStore.h"
#include "platform/TextCodec.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileList.h"

namespace quorrel {

// The data file of an install folder, read while the window is being built: the backup copy
// and the profiles, as ProfileStore::open takes them, each on a thread of its own. The
// backup is made from the file as it was at the start, as nothing writes it before take()
// returns; the files and the codec are used by those threads alone until then.
class DataPrefetch {
public:
    struct Read {
        Expected<ProfileDataFile::Found> found = ProfileDataFile::Found::Missing;
        ProfileList profiles;
    };

    DataPrefetch(platform::FileStore& files, const platform::TextCodec& codec,
                 std::string installFolder);
    // Waits for the threads when take() was not called.
    ~DataPrefetch();
    DataPrefetch(const DataPrefetch&) = delete;
    DataPrefetch& operator=(const DataPrefetch&) = delete;

    // The folder it reads, ending in the folder separator.
    const std::string& installFolder() const { return folder_; }

    // Waits for the threads and hands over what was read; once only.
    Read take();

private:
    std::string folder_;
    std::future<void> backup_;
    std::future<Read> read_;
};

}  // namespace quorrel
