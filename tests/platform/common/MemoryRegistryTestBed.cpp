#include "platform/TextCodec.h"
#include "tests/platform/common/RegistryTestBed.h"
#include "tests/support/MemoryRegistryStore.h"

namespace quorrel::test {

namespace {

class MemoryRegistryTestBed final : public RegistryTestBed {
public:
    MemoryRegistryTestBed() {
        store_.setEncodedLength(
            [codec = std::shared_ptr<platform::TextCodec>(platform::makeCp949Codec())](
                std::string_view text) { return codec->encodedLength(text); });
    }
    platform::RegistryStore& store() override { return store_; }
    std::unique_ptr<platform::RegistryStore> anotherStore() override {
        return std::make_unique<MemoryRegistryStore>(store_);  // copies share one registry
    }
    const std::string& root() const override { return root_; }

private:
    MemoryRegistryStore store_;
    std::string root_ = "SOFTWARE\\QuorrelTests\\Memory";
};

}  // namespace

std::unique_ptr<RegistryTestBed> makeMemoryRegistryTestBed() {
    return std::make_unique<MemoryRegistryTestBed>();
}

}  // namespace quorrel::test
