#pragma once

#include <memory>
#include <string>

#include "platform/RegistryStore.h"

namespace quorrel::test {

// A registry that a test may change freely below root(): the system's own store (the
// store file in a temporary folder on Linux, a scratch key of the real registry on
// Windows, removed afterwards) or the in-memory store of GUI-free tests.
class RegistryTestBed {
public:
    virtual ~RegistryTestBed() = default;

    virtual platform::RegistryStore& store() = 0;

    // A second store object on the same registry, as another process would have.
    virtual std::unique_ptr<platform::RegistryStore> anotherStore() = 0;

    // A key path that does not exist yet; tests create their keys below it.
    virtual const std::string& root() const = 0;
};

std::unique_ptr<RegistryTestBed> makeSystemRegistryTestBed();
std::unique_ptr<RegistryTestBed> makeMemoryRegistryTestBed();

}  // namespace quorrel::test
