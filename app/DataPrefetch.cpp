#include "app/DataPrefetch.h"

#include <utility>

namespace quorrel {

DataPrefetch::DataPrefetch(platform::FileStore& files, const platform::TextCodec& codec,
                           std::string installFolder)
    : folder_(std::move(installFolder)) {
    read_ = std::async(std::launch::async, [&files, &codec, folder = folder_] {
        ProfileDataFile file(files, codec, folder);
        file.backup();
        Read read;
        read.found = file.load(read.profiles);
        return read;
    });
}

DataPrefetch::~DataPrefetch() {
    if (read_.valid()) {
        read_.wait();
    }
}

DataPrefetch::Read DataPrefetch::take() {
    return read_.get();
}

}  // namespace quorrel
