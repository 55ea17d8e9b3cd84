#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/RegistryStore.h"

namespace quorrel {

// The folder prompt: shows `title`, starts in `initialFolder` and returns the chosen
// folder, or none when the user cancels.
using FolderPrompt = std::function<std::optional<std::string>(const std::string& title,
                                                              const std::string& initialFolder)>;

// One line for the debugger output (the caller adds nothing but its usual prefix).
using DebugWriter = std::function<void(const std::string& line)>;

// The platform's folder conventions, filled from platform/PlatformPaths.h by the caller:
// folderSeparator(), defaultInstallFolder() and cancelledPromptFolder(). The two folders
// are asked for only when the prompt is needed.
struct InstallFolderDefaults {
    char separator = '/';
    std::function<std::string()> promptFolder;
    std::function<std::string()> cancelledFolder;
};

// The program's own settings under HKEY_LOCAL_MACHINE "SOFTWARE\Varnok\Quorrel": the install
// folder (PATH) and the adapter chosen last (AdapterName, selected again at start-up while
// AutoCheck is non-zero). The key is opened and closed around each operation.
class Settings {
public:
    Settings(platform::RegistryStore& store, DebugWriter debug);

    // The install folder, always ending in the folder separator: PATH when it can be read,
    // else the folder the user picks in the prompt (the cancelled-prompt folder on
    // Cancel), which is then stored as PATH.
    std::string determineInstallFolder(const FolderPrompt& prompt,
                                       const InstallFolderDefaults& defaults);
    // The same PATH, read as determineInstallFolder reads it, or none when that would ask.
    std::optional<std::string> installFolderWithoutPrompt(char separator);

    // Stores `installFolder` without its final separator as PATH, creating the key when it
    // is missing. Failures are silent.
    void writePath(const std::string& installFolder);

    // The connection name to select at start-up: AdapterName while AutoCheck is non-zero,
    // else empty. A missing AutoCheck is created as 0, a missing AdapterName (with
    // AutoCheck set) as an empty text. Returns false when the key cannot be opened or
    // AdapterName was missing; `rememberedAdapter` is then empty.
    bool readRememberedAdapter(std::string& rememberedAdapter);

    // Remembers the confirmed adapter choice: AdapterName and AutoCheck 1, written only when
    // the key already exists.
    void storeAdapterChoice(const std::string& connectionName);

    // Whether the connection is checked after an apply: the REG_DWORD CheckAfterApply is 1.
    // Missing, unreadable or any other value: off (nothing is created).
    bool readCheckAfterApply();
    // Stores the choice as CheckAfterApply (1 or 0), creating the key when it is missing.
    // Failures are silent.
    void storeCheckAfterApply(bool on);
    // The same for any switch of the tools menu kept as a REG_DWORD `valueName`
    // (자동 전환 and 트레이 아이콘 표시 among them).
    bool readSwitch(const char* valueName);
    void storeSwitch(const char* valueName, bool on);

    // What the settings hold, read without writing or tracing anything (the command line
    // leaves the settings to the window): the install folder PATH names, ending in
    // `separator`, or none when it cannot be read; and the adapter start-up selects,
    // AdapterName while AutoCheck is non-zero, else empty.
    std::optional<std::string> storedInstallFolder(char separator) const;
    std::string storedRememberedAdapter() const;

private:
    void trace(const char* line) const;

    platform::RegistryStore& store_;
    DebugWriter debug_;
};

}  // namespace quorrel
