#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quorrel::platform {

// The folder a folder prompt starts in, made when it is missing (a prompt can only start
// in a folder that is there) and taken away again, with the parent folders made for it,
// when the prompt ends without that folder being chosen: a cancelled prompt leaves no
// folder behind. A folder that is no longer empty, or that holds the chosen folder, stays.
class PromptStartFolder {
public:
    explicit PromptStartFolder(const std::string& folder);
    PromptStartFolder(const PromptStartFolder&) = delete;
    PromptStartFolder& operator=(const PromptStartFolder&) = delete;

    // The prompt's answer: the chosen folder, or none when it was cancelled.
    void finish(const std::optional<std::string>& chosen);

    // The folders made, the deepest last.
    const std::vector<std::filesystem::path>& created() const { return created_; }

private:
    std::vector<std::filesystem::path> created_;
};

}  // namespace quorrel::platform
