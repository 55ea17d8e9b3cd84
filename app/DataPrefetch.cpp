#include "app/DataPrefetch.h"

#include <utility>

namespace quorrel {

DataPrefetch::DataPrefetch(platform::FileStore& files, const platform::TextCodec& codec,
                           std::string installFolder)
    : folder_(std::move(installFolder)) {
    // The backup copy and the read side by side: both only read the data file, and the
    // copy is mostly the kernel's and the disk's work.
    backup_ = std::async(std::launch::async, [&files, &codec, folder = folder_] {
        ProfileDataFile(files, codec, folder).backup();
    });
    read_ = std::async(std::launch::async, [&files, &codec, folder = folder_] {
        Read read;
        read.found = ProfileDataFile(files, codec, folder).load(read.profiles);
        return read;
    });
}

DataPrefetch::~DataPrefetch() {
    if (backup_.valid()) {
        backup_.wait();
    }
    if (read_.valid()) {
        read_.wait();
    }
}

DataPrefetch::Read DataPrefetch::take() {
    backup_.get();
    return read_.get();
}

}  // namespace quorrel
