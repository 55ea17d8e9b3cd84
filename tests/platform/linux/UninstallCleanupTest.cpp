#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/linux/FileRegistryStore.h"
#include "resources/CleanupTexts.h"
#include "tests/support/TempFolder.h"

extern char** environ;

namespace quorrel {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int exitCode = -1;
    std::string output;
    int signal = 0;  // the signal that ended it, if one did
};

// Runs the built uninstall-cleanup with the store file in `registryFolder` and the user's
// data folder in `dataFolder`, and collects its standard output.
// With `closedOutput` its standard output is a pipe that nobody reads any more, as when
// the uninstaller that started it has gone.
Outcome runCleanup(const std::string& registryFolder, const std::string& dataFolder,
                   std::vector<std::string> arguments = {}, bool closedOutput = false) {
    std::vector<std::string> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string entry = *variable;
        if (entry.rfind("QUORREL_REGISTRY_DIR=", 0) != 0 && entry.rfind("XDG_DATA_HOME=", 0) != 0) {
            environment.push_back(entry);
        }
    }
    environment.push_back("QUORREL_REGISTRY_DIR=" + registryFolder);
    environment.push_back("XDG_DATA_HOME=" + dataFolder);
    arguments.insert(arguments.begin(), UNINSTALL_CLEANUP_PROGRAM);

    std::vector<char*> argv;
    for (auto& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (auto& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);

    int pipeFds[2];
    Outcome outcome;
    if (::pipe(pipeFds) != 0) {
        ADD_FAILURE() << "pipe";
        return outcome;
    }
    if (closedOutput) {
        ::close(pipeFds[0]);
        pipeFds[0] = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    // The child starts as a shell would start it: a closed pipe ends a writer by default.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &pipeSignal);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t child = 0;
    const int spawned =
        ::posix_spawn(&child, argv[0], &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(pipeFds[1]);
    if (spawned != 0) {
        ::close(pipeFds[0]);
        ADD_FAILURE() << "cannot start " << argv[0];
        return outcome;
    }
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
        outcome.output.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return outcome;
}

class UninstallCleanup : public ::testing::Test {
protected:
    void setTessupPath(const std::string* path) {
        platform::FileRegistryStore store(registry.path());
        std::unique_ptr<platform::RegistryKey> key;
        ASSERT_EQ(store.createKey("SOFTWARE\\Varnok\\Tessup", key), platform::RegStatus::Ok);
        if (path != nullptr) {
            ASSERT_EQ(key->setString("PATH", *path), platform::RegStatus::Ok);
        }
    }
    void expectMessageAndExitCodeZero(const Outcome& outcome) {
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_EQ(outcome.output, texts::kCleanupMessage);
    }
    std::string defaultFolder() const { return data.path() + "Varnok/Tessup"; }

    test::TempFolder registry;
    test::TempFolder data;
    test::TempFolder install;
};

TEST_F(UninstallCleanup, RemovesTheEmptyFolderNamedInTheTessupKey) {
    const std::string folder = install.path() + "Tessup 설치";
    fs::create_directory(folder);
    setTessupPath(&folder);
    fs::create_directories(defaultFolder());  // not touched while the key names a folder

    expectMessageAndExitCodeZero(runCleanup(registry.path(), data.path(), {"/ignored", "-x"}));
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_TRUE(fs::exists(defaultFolder()));
}

TEST_F(UninstallCleanup, AKeyWithoutPathRemovesNothing) {
    setTessupPath(nullptr);
    fs::create_directories(defaultFolder());
    expectMessageAndExitCodeZero(runCleanup(registry.path(), data.path()));
    EXPECT_TRUE(fs::exists(defaultFolder()));
}

TEST_F(UninstallCleanup, WithoutTheKeyTheEmptyDefaultFolderGoesAndAMissingOneIsNoError) {
    expectMessageAndExitCodeZero(runCleanup(registry.path(), data.path()));

    fs::create_directories(defaultFolder());
    expectMessageAndExitCodeZero(runCleanup(registry.path(), data.path()));
    EXPECT_FALSE(fs::exists(defaultFolder()));
    EXPECT_TRUE(fs::exists(data.path() + "Varnok"));  // only the Tessup folder itself
}

TEST_F(UninstallCleanup, AFolderThatStillHoldsFilesStays) {
    const std::string folder = install.path() + "Tessup";
    fs::create_directories(folder + "/bin");
    test::writeFileBytes(folder + "/readme.txt", "left over");
    setTessupPath(&folder);
    expectMessageAndExitCodeZero(runCleanup(registry.path(), data.path()));
    EXPECT_TRUE(fs::exists(folder + "/readme.txt"));
    EXPECT_TRUE(fs::exists(folder + "/bin"));
}

TEST_F(UninstallCleanup, ADamagedStoreOrAnOverlongPathStillEndsWithCodeZero) {
    const std::string folder = install.path() + std::string(1100, 'x').substr(0, 200);
    fs::create_directory(folder);
    std::string overlong = folder + "/" + std::string(1024, 'y');
    setTessupPath(&overlong);  // does not fit the 1024-byte buffer: nothing is removed
    expectMessageAndExitCodeZero(runCleanup(registry.path(), data.path()));
    EXPECT_TRUE(fs::exists(folder));

    test::writeFileBytes(registry.file("HKEY_LOCAL_MACHINE.reg"), "not a store file\n");
    const Outcome outcome = runCleanup(registry.path(), data.path());
    expectMessageAndExitCodeZero(outcome);
}

TEST_F(UninstallCleanup, AClosedStandardOutputStillRemovesTheFolderAndEndsWithCodeZero) {
    const std::string folder = install.path() + "Tessup";
    std::filesystem::create_directory(folder);
    setTessupPath(&folder);
    const Outcome outcome = runCleanup(registry.path(), data.path(), {}, true);
    EXPECT_EQ(outcome.signal, 0) << "ended by signal " << outcome.signal;
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_FALSE(std::filesystem::exists(folder));
}

}  // namespace
}  // namespace quorrel
