#include "profiles/Settings.h"

#include "resources/ProfileTexts.h"
#include "resources/SafetyTexts.h"

namespace quorrel {

namespace {

// Buffer sizes of the reads, terminating zero included.
constexpr std::size_t kPathBufferSize = 1024;
constexpr std::size_t kAdapterNameBufferSize = 255;

std::string withSeparator(std::string folder, char separator) {
    if (folder.empty() || folder.back() != separator) {
        folder += separator;
    }
    return folder;
}

}  // namespace

Settings::Settings(platform::RegistryStore& store, DebugWriter debug)
    : store_(store), debug_(std::move(debug)) {}

void Settings::trace(const char* line) const {
    if (debug_) {
        debug_(line);
    }
}

std::optional<std::string> Settings::installFolderWithoutPrompt(char separator) {
    std::unique_ptr<platform::RegistryKey> key;
    if (store_.openKey(texts::kSettingsKeyPath, platform::RegAccess::AllAccess, key) ==
        platform::RegStatus::Ok) {
        std::string path;
        if (key->queryString(texts::kPathValue, kPathBufferSize, path) == platform::RegStatus::Ok) {
            return withSeparator(std::move(path), separator);
        }
    }
    return std::nullopt;
}

std::string Settings::determineInstallFolder(const FolderPrompt& prompt,
                                             const InstallFolderDefaults& defaults) {
    if (std::optional<std::string> stored = installFolderWithoutPrompt(defaults.separator)) {
        return std::move(*stored);
    }

    const std::string initial = defaults.promptFolder ? defaults.promptFolder() : std::string();
    std::optional<std::string> chosen;
    if (prompt) {
        chosen = prompt(texts::kInstallFolderPromptTitle, initial);
    }
    std::string installFolder;
    if (chosen) {
        installFolder = withSeparator(std::move(*chosen), defaults.separator);
    } else {
        installFolder =
            withSeparator(defaults.cancelledFolder ? defaults.cancelledFolder() : std::string(),
                          defaults.separator);
    }
    writePath(installFolder);
    return installFolder;
}

void Settings::writePath(const std::string& installFolder) {
    std::unique_ptr<platform::RegistryKey> key;
    if (store_.openKey(texts::kSettingsKeyPath, platform::RegAccess::AllAccess, key) !=
            platform::RegStatus::Ok &&
        store_.createKey(texts::kSettingsKeyPath, key) != platform::RegStatus::Ok) {
        return;
    }
    const std::string value =
        installFolder.empty() ? installFolder : installFolder.substr(0, installFolder.size() - 1);
    key->setString(texts::kPathValue, value);
}

bool Settings::readRememberedAdapter(std::string& rememberedAdapter) {
    rememberedAdapter.clear();
    std::unique_ptr<platform::RegistryKey> key;
    if (store_.openKey(texts::kSettingsKeyPath, platform::RegAccess::AllAccess, key) !=
        platform::RegStatus::Ok) {
        trace(texts::kRegistryOpenError);
        return false;
    }

    std::uint32_t autoCheck = 0;
    if (key->queryDword(texts::kAutoCheckValue, autoCheck) != platform::RegStatus::Ok) {
        key->setDword(texts::kAutoCheckValue, 0);
        trace(texts::kAutoCheckCreated);
        return true;
    }
    if (autoCheck == 0) {
        return true;
    }

    std::string name;
    if (key->queryString(texts::kAdapterNameValue, kAdapterNameBufferSize, name) !=
        platform::RegStatus::Ok) {
        trace(texts::kAdapterNameMissing);
        key->setString(texts::kAdapterNameValue, "");
        return false;
    }
    rememberedAdapter = std::move(name);
    return true;
}

void Settings::storeAdapterChoice(const std::string& connectionName) {
    std::unique_ptr<platform::RegistryKey> key;
    if (store_.openKey(texts::kSettingsKeyPath, platform::RegAccess::AllAccess, key) !=
        platform::RegStatus::Ok) {
        return;
    }
    key->setString(texts::kAdapterNameValue, connectionName);
    key->setDword(texts::kAutoCheckValue, 1);
}

bool Settings::readSwitch(const char* valueName) {
    std::unique_ptr<platform::RegistryKey> key;
    if (store_.openKey(texts::kSettingsKeyPath, platform::RegAccess::Read, key) !=
        platform::RegStatus::Ok) {
        return false;
    }
    std::uint32_t value = 0;
    return key->queryDword(valueName, value) == platform::RegStatus::Ok && value == 1;
}

void Settings::storeSwitch(const char* valueName, bool on) {
    std::unique_ptr<platform::RegistryKey> key;
    if (store_.openKey(texts::kSettingsKeyPath, platform::RegAccess::AllAccess, key) !=
            platform::RegStatus::Ok &&
        store_.createKey(texts::kSettingsKeyPath, key) != platform::RegStatus::Ok) {
        return;
    }
    key->setDword(valueName, on ? 1 : 0);
}

bool Settings::readCheckAfterApply() {
    return readSwitch(texts::kCheckAfterApplyValue);
}

void Settings::storeCheckAfterApply(bool on) {
    storeSwitch(texts::kCheckAfterApplyValue, on);
}

std::optional<std::string> Settings::storedInstallFolder(char separator) const {
    std::unique_ptr<platform::RegistryKey> key;
    std::string path;
    if (store_.openKey(texts::kSettingsKeyPath, platform::RegAccess::Read, key) !=
            platform::RegStatus::Ok ||
        key->queryString(texts::kPathValue, kPathBufferSize, path) != platform::RegStatus::Ok) {
        return std::nullopt;
    }
    return withSeparator(std::move(path), separator);
}

std::string Settings::storedRememberedAdapter() const {
    std::unique_ptr<platform::RegistryKey> key;
    std::uint32_t autoCheck = 0;
    std::string name;
    if (store_.openKey(texts::kSettingsKeyPath, platform::RegAccess::Read, key) !=
            platform::RegStatus::Ok ||
        key->queryDword(texts::kAutoCheckValue, autoCheck) != platform::RegStatus::Ok ||
        autoCheck == 0 ||
        key->queryString(texts::kAdapterNameValue, kAdapterNameBufferSize, name) !=
            platform::RegStatus::Ok) {
        return std::string();
    }
    return name;
}

}  // namespace quorrel
