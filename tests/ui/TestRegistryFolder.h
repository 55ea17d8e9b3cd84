#pragma once

#include <cstdlib>
#include <optional>
#include <string>

#include "tests/support/TempFolder.h"

namespace quorrel::test {

// Points the registry store at a fresh folder for the object's life, so that a frame made
// by a test reads and writes no settings of the machine's.
class TestRegistryFolder {
public:
    TestRegistryFolder() {
        if (const char* old = std::getenv("QUORREL_REGISTRY_DIR")) {
            old_ = old;
        }
        setenv("QUORREL_REGISTRY_DIR", folder_.path().c_str(), 1);
    }
    ~TestRegistryFolder() {
        if (old_) {
            setenv("QUORREL_REGISTRY_DIR", old_->c_str(), 1);
        } else {
            unsetenv("QUORREL_REGISTRY_DIR");
        }
    }
    TestRegistryFolder(const TestRegistryFolder&) = delete;
    TestRegistryFolder& operator=(const TestRegistryFolder&) = delete;

    const std::string& path() const { return folder_.path(); }

private:
    TempFolder folder_;
    std::optional<std::string> old_;
};

}  // namespace quorrel::test
