#include "platform/PromptStartFolder.h"

#include <algorithm>
#include <system_error>

namespace quorrel::platform {

namespace {

std::filesystem::path normalised(const std::string& folder) {
    std::filesystem::path path = std::filesystem::path(folder).lexically_normal();
    // "a/b/" and "a/b" are the same folder.
    if (!path.has_filename() && path.has_parent_path() && path != path.root_path()) {
        path = path.parent_path();
    }
    return path;
}

// Whether `inner` is `outer` or lies inside it.
bool within(const std::filesystem::path& inner, const std::filesystem::path& outer) {
    auto [mismatch, end] = std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
    return mismatch == outer.end();
}

}  // namespace

PromptStartFolder::PromptStartFolder(const std::string& folder) {
    if (folder.empty()) {
        return;
    }
    std::error_code error;
    std::vector<std::filesystem::path> missing;
    for (std::filesystem::path path = normalised(folder);
         !path.empty() && !std::filesystem::exists(path, error); path = path.parent_path()) {
        missing.push_back(path);
        if (path == path.parent_path()) {
            break;
        }
    }
    std::reverse(missing.begin(), missing.end());
    for (const std::filesystem::path& path : missing) {
        if (!std::filesystem::create_directory(path, error)) {
            break;
        }
        created_.push_back(path);
    }
}

void PromptStartFolder::finish(const std::optional<std::string>& chosen) {
    const std::optional<std::filesystem::path> kept =
        chosen ? std::make_optional(normalised(*chosen)) : std::nullopt;
    // Deepest first; remove() takes only empty folders away.
    for (auto folder = created_.rbegin(); folder != created_.rend(); ++folder) {
        if (kept && within(*kept, *folder)) {
            break;
        }
        std::error_code error;
        if (!std::filesystem::remove(*folder, error)) {
            break;
        }
    }
    created_.clear();
}

}  // namespace quorrel::platform
