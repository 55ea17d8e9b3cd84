#include "platform/registry/linux/FileRegistryStore.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <set>

#include "platform/registry/linux/RegistryHive.h"
#include "system/CodePage.h"
#include "system/linux/AtomicFile.h"

namespace quorrel::platform {

using system::replaceFileAtomically;

struct FileRegistryStore::Files {
    std::string folder;
    std::string hive;
    std::string lock;
};

namespace {

constexpr const char* kHiveName = "HKEY_LOCAL_MACHINE";

// Length of a UTF-8 text in CP949 bytes; a character CP949 cannot hold counts as the one
// '?' byte it would become.
std::size_t cp949Length(std::string_view utf8) {
    std::string bytes;
    system::utf8ToCp949(utf8, bytes);
    return bytes.size();
}

void warn(const std::string& text) {
    const std::string line = "Quorrel registry store: " + text + "\n";
    [[maybe_unused]] const auto written = ::write(STDERR_FILENO, line.data(), line.size());
}

// Says once per process and file that a damaged file is being read as empty.
void warnDamagedOnce(const std::string& path, const std::string& why) {
    static std::mutex mutex;
    static std::set<std::string> reported;
    const std::lock_guard lock(mutex);
    if (reported.insert(path).second) {
        warn(path + " is damaged (" + why + "); its keys count as missing until it is repaired");
    }
}

struct Loaded {
    RegistryHive hive;
    bool damaged = false;
    std::string why;
};

bool readFile(const std::string& path, std::string& bytes, bool& missing) {
    missing = false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        missing = errno == ENOENT || errno == ENOTDIR;
        return false;
    }
    char buffer[8192];
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return ok;
}

RegStatus load(const FileRegistryStore::Files& files, Loaded& loaded) {
    std::string bytes;
    bool missing = false;
    if (!readFile(files.hive, bytes, missing)) {
        return missing ? RegStatus::Ok : RegStatus::Failed;
    }
    Expected<RegistryHive> hive = RegistryHive::parse(bytes);
    if (hive) {
        loaded.hive = std::move(hive).value();
        return RegStatus::Ok;
    }
    loaded.damaged = true;
    loaded.why = hive.error();
    warnDamagedOnce(files.hive, hive.error());
    return RegStatus::Ok;
}

// Renames the damaged file to the first free "<file>.damaged[.N]".
bool moveAside(const FileRegistryStore::Files& files, const std::string& why) {
    std::string aside = files.hive + ".damaged";
    struct stat ignored {};
    for (int n = 1; ::lstat(aside.c_str(), &ignored) == 0; ++n) {
        aside = files.hive + ".damaged." + std::to_string(n);
    }
    if (::rename(files.hive.c_str(), aside.c_str()) != 0) {
        warn(files.hive + " is damaged (" + why + ") and cannot be moved aside (" +
             std::strerror(errno) + "); nothing is written");
        return false;
    }
    warn(files.hive + " is damaged (" + why + "); kept it aside as " + aside +
         " and started a new store file");
    return true;
}

bool replaceFile(const FileRegistryStore::Files& files, const std::string& bytes) {
    if (const Done replaced = replaceFileAtomically(files.hive, bytes); !replaced) {
        warn("cannot write " + files.hive + " (" + replaced.error() + ")");
        return false;
    }
    return true;
}

// Root working in someone else's folder gives what it makes there to that folder's owner,
// so that a run as root leaves nothing the user's own runs cannot open or replace.
void giveToFolderOwner(int fd, const std::string& folder) {
    struct stat owner {};
    if (::geteuid() == 0 && ::stat(folder.c_str(), &owner) == 0) {
        [[maybe_unused]] const int ignored = ::fchown(fd, owner.st_uid, owner.st_gid);
    }
}

// Makes the store's folder and its missing parents; false (with errno) when it cannot.
bool makeFolders(const std::string& folder) {
    std::string made;
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = folder.find('/', pos + 1);
        made = folder.substr(0, pos);
        const std::size_t slash = made.rfind('/');
        const std::string parent = slash == std::string::npos ? "."
                                   : slash == 0               ? "/"
                                                              : made.substr(0, slash);
        if (::mkdir(made.c_str(), 0777) == 0) {
            const int fd = ::open(made.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (fd >= 0) {
                giveToFolderOwner(fd, parent);
                ::close(fd);
            }
        } else if (errno != EEXIST) {
            return false;
        }
    }
    return true;
}

// Opens the store's lock file however an earlier run left it. flock needs no write access,
// so a lock file the user may only read serves as well; one the user may not even read
// (left by root before it gave such files away) is replaced, as it is in the user's folder.
int openLockFile(const std::string& path, const std::string& folder) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0) {
            giveToFolderOwner(fd, folder);
            return fd;
        }
        if (errno != EEXIST) {
            return -1;
        }
        fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0 && (errno == EACCES || errno == EPERM)) {
            fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        }
        if (fd >= 0) {
            return fd;
        }
        if (errno == EACCES || errno == EPERM) {
            if (::unlink(path.c_str()) != 0) {
                return -1;
            }
        } else if (errno != ENOENT) {
            return -1;  // ENOENT: removed meanwhile, try again
        }
    }
    return -1;
}

// Holds an exclusive lock on the store's lock file while it lives.
class WriteLock {
public:
    explicit WriteLock(const FileRegistryStore::Files& files)
        : fd_(openLockFile(files.lock, files.folder)) {
        while (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0) {
            if (errno != EINTR) {
                ::close(fd_);
                fd_ = -1;
            }
        }
    }
    ~WriteLock() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;
    bool held() const { return fd_ >= 0; }

private:
    int fd_;
};

// Loads, changes and writes back the hive under the write lock.
RegStatus modify(const FileRegistryStore::Files& files,
                 const std::function<bool(RegistryHive&)>& change) {
    if (!makeFolders(files.folder)) {
        return errno == EACCES || errno == EPERM ? RegStatus::AccessDenied : RegStatus::Failed;
    }
    const WriteLock lock(files);
    if (!lock.held()) {
        return errno == EACCES || errno == EPERM ? RegStatus::AccessDenied : RegStatus::Failed;
    }
    Loaded loaded;
    if (const RegStatus status = load(files, loaded); status != RegStatus::Ok) {
        return status;
    }
    if (!change(loaded.hive)) {
        return RegStatus::Ok;  // nothing to write
    }
    if (loaded.damaged && !moveAside(files, loaded.why)) {
        return RegStatus::Failed;
    }
    return replaceFile(files, loaded.hive.serialize(kHiveName)) ? RegStatus::Ok : RegStatus::Failed;
}

class FileRegistryKey final : public RegistryKey {
public:
    FileRegistryKey(std::shared_ptr<const FileRegistryStore::Files> files, std::string path,
                    bool writable)
        : files_(std::move(files)), path_(std::move(path)), writable_(writable) {}

    RegStatus queryString(std::string_view name, std::size_t bufferSize,
                          std::string& value) override {
        Loaded loaded;
        const RegistryValue* found = nullptr;
        if (const RegStatus status = find(name, loaded, found); status != RegStatus::Ok) {
            return status;
        }
        if (found->isDword) {
            return RegStatus::WrongType;
        }
        // The text and its terminating zero must fit into the caller's buffer.
        if (cp949Length(found->text) + 1 > bufferSize) {
            return RegStatus::MoreData;
        }
        value = found->text;
        return RegStatus::Ok;
    }

    RegStatus queryDword(std::string_view name, std::uint32_t& value) override {
        Loaded loaded;
        const RegistryValue* found = nullptr;
        if (const RegStatus status = find(name, loaded, found); status != RegStatus::Ok) {
            return status;
        }
        if (!found->isDword) {
            return RegStatus::WrongType;
        }
        value = found->number;
        return RegStatus::Ok;
    }

    RegStatus setString(std::string_view name, std::string_view value) override {
        return put(name, RegistryValue{false, std::string(value), 0});
    }

    RegStatus setDword(std::string_view name, std::uint32_t value) override {
        return put(name, RegistryValue{true, {}, value});
    }

private:
    RegStatus find(std::string_view name, Loaded& loaded, const RegistryValue*& found) {
        if (const RegStatus status = load(*files_, loaded); status != RegStatus::Ok) {
            return status;
        }
        found = loaded.hive.find(path_, name);
        return found == nullptr ? RegStatus::NotFound : RegStatus::Ok;
    }

    RegStatus put(std::string_view name, RegistryValue value) {
        if (!writable_) {
            return RegStatus::AccessDenied;
        }
        return modify(*files_, [&](RegistryHive& hive) {
            hive.put(path_, name, std::move(value));
            return true;
        });
    }

    std::shared_ptr<const FileRegistryStore::Files> files_;
    std::string path_;
    bool writable_;
};

}  // namespace

FileRegistryStore::FileRegistryStore(std::string folder) {
    auto files = std::make_shared<Files>();
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    files->folder = folder;
    files->hive = folder + "/" + kHiveName + ".reg";
    files->lock = files->hive + ".lock";
    files_ = std::move(files);
}

const std::string& FileRegistryStore::filePath() const {
    return files_->hive;
}

RegStatus FileRegistryStore::openKey(std::string_view path, RegAccess access,
                                     std::unique_ptr<RegistryKey>& key) {
    if (!isValidKeyPath(path)) {
        return RegStatus::Failed;
    }
    Loaded loaded;
    if (const RegStatus status = load(*files_, loaded); status != RegStatus::Ok) {
        return status;
    }
    if (!loaded.hive.hasKey(path)) {
        return RegStatus::NotFound;
    }
    key = std::make_unique<FileRegistryKey>(files_, std::string(path),
                                            access == RegAccess::AllAccess);
    return RegStatus::Ok;
}

RegStatus FileRegistryStore::createKey(std::string_view path, std::unique_ptr<RegistryKey>& key) {
    if (!isValidKeyPath(path)) {
        return RegStatus::Failed;
    }
    const RegStatus status = modify(*files_, [&](RegistryHive& hive) {
        if (hive.hasKey(path)) {
            return false;
        }
        hive.createKey(path);
        return true;
    });
    if (status != RegStatus::Ok) {
        return status;
    }
    key = std::make_unique<FileRegistryKey>(files_, std::string(path), true);
    return RegStatus::Ok;
}

std::string registryStoreFolder() {
    if (const char* dir = std::getenv("QUORREL_REGISTRY_DIR"); dir != nullptr && *dir != '\0') {
        return dir;
    }
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') {
        config = xdg;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        config = std::string(home) + "/.config";
    } else if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir) {
        config = std::string(entry->pw_dir) + "/.config";
    } else {
        config = "/tmp";
    }
    return config + "/quorrel/registry";
}

std::unique_ptr<RegistryStore> makeSystemRegistryStore() {
    return std::make_unique<FileRegistryStore>(registryStoreFolder());
}

}  // namespace quorrel::platform
