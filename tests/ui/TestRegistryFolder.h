#pragma once

#include <QtGlobal>
#include <cstdlib>
#include <optional>
#include <string>

#include "tests/support/TempFolder.h"

namespace quorrel::test {

// Points the registry store at a fresh folder for the object's life, so that a frame made
// by a test reads and writes no settings of the machine's. (On Windows the store is the
// registry itself; the tests there run in a throw-away wine prefix.)
class TestRegistryFolder {
public:
    TestRegistryFolder() {
        if (const char* old = std::getenv("QUORREL_REGISTRY_DIR")) {
            old_ = old;
        }
        qputenv("QUORREL_REGISTRY_DIR", folder_.path().c_str());
    }
    ~TestRegistryFolder() {
        if (old_) {
            qputenv("QUORREL_REGISTRY_DIR", old_->c_str());
        } else {
            qunsetenv("QUORREL_REGISTRY_DIR");
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
