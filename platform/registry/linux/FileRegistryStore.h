#pragma once

#include <memory>
#include <string>

#include "platform/RegistryStore.h"

namespace quorrel::platform {

// The registry stand-in on Linux: the hive HKEY_LOCAL_MACHINE kept as the text file
// "HKEY_LOCAL_MACHINE.reg" in one folder (see RegistryHive for its form).
//
// Every read loads the file afresh, so processes sharing the folder see each other's
// writes. Every write takes an exclusive flock on "HKEY_LOCAL_MACHINE.reg.lock", loads the
// file, changes it and replaces it atomically (replaceFileAtomically), so two writers
// never lose each other's values and a reader never sees half a file. A rewrite keeps the
// file's comments, blank lines and lines as written (see RegistryHive).
//
// Root writing into a user's folder (a run with sudo) leaves the folders, the lock file
// and the store file to that folder's owner, and a lock file an earlier run left that the
// user may only read, or not even that, does not stop the user's writes.
//
// A damaged file counts as holding no keys and is never overwritten: the first write after
// it moves the file aside as "HKEY_LOCAL_MACHINE.reg.damaged" (or ".damaged.N") and says
// so on standard error.
//
// String lengths against the caller's buffer are counted in CP949 bytes, the code page the
// program's texts have on Windows, so that both systems accept and refuse the same values.
class FileRegistryStore final : public RegistryStore {
public:
    explicit FileRegistryStore(std::string folder);

    RegStatus openKey(std::string_view path, RegAccess access,
                      std::unique_ptr<RegistryKey>& key) override;
    RegStatus createKey(std::string_view path, std::unique_ptr<RegistryKey>& key) override;

    // The hive's file.
    const std::string& filePath() const;

    struct Files;

private:
    std::shared_ptr<const Files> files_;
};

// Where the store lives: $QUORREL_REGISTRY_DIR when set, otherwise "quorrel/registry" in
// the user's configuration folder ($XDG_CONFIG_HOME or ~/.config).
std::string registryStoreFolder();

}  // namespace quorrel::platform
