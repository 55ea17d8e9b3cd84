#include <windows.h>

#include <atomic>
#include <string>

#include "tests/platform/common/RegistryTestBed.h"

namespace quorrel::test {

namespace {

// The real registry: a scratch key below HKEY_LOCAL_MACHINE\SOFTWARE\QuorrelTests, one per
// test, deleted with everything below it afterwards.
class Win32RegistryTestBed final : public RegistryTestBed {
public:
    Win32RegistryTestBed() {
        static std::atomic<unsigned> counter{0};
        root_ = "SOFTWARE\\QuorrelTests\\" + std::to_string(::GetCurrentProcessId()) + "-" +
                std::to_string(counter++);
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, root_.c_str());
        store_ = platform::makeSystemRegistryStore();
    }
    ~Win32RegistryTestBed() override { ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, root_.c_str()); }
    platform::RegistryStore& store() override { return *store_; }
    std::unique_ptr<platform::RegistryStore> anotherStore() override {
        return platform::makeSystemRegistryStore();
    }
    const std::string& root() const override { return root_; }

private:
    std::string root_;
    std::unique_ptr<platform::RegistryStore> store_;
};

}  // namespace

std::unique_ptr<RegistryTestBed> makeSystemRegistryTestBed() {
    return std::make_unique<Win32RegistryTestBed>();
}

}  // namespace quorrel::test
