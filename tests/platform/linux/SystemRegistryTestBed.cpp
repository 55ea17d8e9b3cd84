#include <cstdlib>

#include "tests/platform/common/RegistryTestBed.h"
#include "tests/support/TempFolder.h"

namespace quorrel::test {

namespace {

// The store file in a fresh folder, reached the way the program reaches it: through
// QUORREL_REGISTRY_DIR.
class FileRegistryTestBed final : public RegistryTestBed {
public:
    FileRegistryTestBed() {
        ::setenv("QUORREL_REGISTRY_DIR", folder_.path().c_str(), 1);
        store_ = platform::makeSystemRegistryStore();
    }
    ~FileRegistryTestBed() override { ::unsetenv("QUORREL_REGISTRY_DIR"); }
    platform::RegistryStore& store() override { return *store_; }
    std::unique_ptr<platform::RegistryStore> anotherStore() override {
        return platform::makeSystemRegistryStore();
    }
    const std::string& root() const override { return root_; }

private:
    TempFolder folder_;
    std::unique_ptr<platform::RegistryStore> store_;
    std::string root_ = "SOFTWARE\\QuorrelTests\\Run";
};

}  // namespace

std::unique_ptr<RegistryTestBed> makeSystemRegistryTestBed() {
    return std::make_unique<FileRegistryTestBed>();
}

}  // namespace quorrel::test
