#include "app/HelpBook.h"

#include "base/TextFormat.h"
#include "platform/FileStore.h"
#include "resources/AboutTexts.h"

namespace quorrel {

std::string helpTopicLocation(const std::string& installFolder) {
    return fillFormat(texts::kHelpTopicFormat, {installFolder});
}

HelpLocation splitHelpLocation(std::string_view location) {
    HelpLocation result;
    const std::size_t separator = location.rfind("::");
    if (separator == std::string_view::npos) {
        result.book = std::string(location);
        result.topic = texts::kHelpMainTopic;
        return result;
    }
    result.book = std::string(location.substr(0, separator));
    result.topic = std::string(location.substr(separator + 2));
    if (result.topic.empty()) {
        result.topic = texts::kHelpMainTopic;
    } else if (result.topic.front() != '/') {
        result.topic.insert(result.topic.begin(), '/');
    }
    return result;
}

HelpBookPlacement placeHelpBook(platform::FileStore& files, const std::string& programFolder,
                                const std::string& installFolder) {
    const std::string source = programFolder + texts::kHelpFileName;
    const std::string target = installFolder + texts::kHelpFileName;
    if (source == target) {
        return files.readAll(source) ? HelpBookPlacement::AlreadyThere
                                     : HelpBookPlacement::NoSource;
    }
    const auto shipped = files.readAll(source);
    if (!shipped) {
        return HelpBookPlacement::NoSource;
    }
    const auto present = files.readAll(target);
    if (present && *present == *shipped) {
        return HelpBookPlacement::AlreadyThere;
    }
    return files.copyFile(source, target) ? HelpBookPlacement::Copied
                                          : HelpBookPlacement::CopyFailed;
}

}  // namespace quorrel
