// One set of expectations for every registry store: the system's (store file or real
// registry) and the in-memory one that GUI-free tests use, so that both behave alike.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

#include "tests/platform/common/RegistryTestBed.h"

namespace quorrel {
namespace {

using platform::RegAccess;
using platform::RegistryKey;
using platform::RegStatus;

struct BedMaker {
    const char* name;
    std::function<std::unique_ptr<test::RegistryTestBed>()> make;
};

void PrintTo(const BedMaker& maker, std::ostream* out) {
    *out << maker.name;
}

class RegistryStoreContract : public ::testing::TestWithParam<BedMaker> {
protected:
    void SetUp() override { bed = GetParam().make(); }

    std::string path(const std::string& below) const { return bed->root() + "\\" + below; }

    std::unique_ptr<RegistryKey> create(const std::string& below) {
        std::unique_ptr<RegistryKey> key;
        EXPECT_EQ(bed->store().createKey(path(below), key), RegStatus::Ok);
        return key;
    }

    std::unique_ptr<RegistryKey> open(platform::RegistryStore& store, const std::string& below,
                                      RegAccess access = RegAccess::AllAccess) {
        std::unique_ptr<RegistryKey> key;
        EXPECT_EQ(store.openKey(path(below), access, key), RegStatus::Ok) << below;
        return key;
    }

    std::unique_ptr<test::RegistryTestBed> bed;
};

TEST_P(RegistryStoreContract, MissingKeysAreNotFoundUntilCreatedWithTheirParents) {
    std::unique_ptr<RegistryKey> key;
    EXPECT_EQ(bed->store().openKey(path("Varnok\\Quorrel"), RegAccess::AllAccess, key),
              RegStatus::NotFound);
    EXPECT_EQ(bed->store().openKey(path("Varnok"), RegAccess::Read, key), RegStatus::NotFound);
    EXPECT_EQ(key, nullptr);

    ASSERT_NE(create("Varnok\\Quorrel"), nullptr);
    // The parent came with it, and names compare without regard to case.
    EXPECT_NE(open(bed->store(), "Varnok"), nullptr);
    EXPECT_NE(open(bed->store(), "VARNOK\\quorrel"), nullptr);
    // Creating an existing key opens it and keeps its values.
    create("Varnok\\Quorrel")->setString("PATH", "kept");
    std::string value;
    EXPECT_EQ(create("Varnok\\Quorrel")->queryString("PATH", 1024, value), RegStatus::Ok);
    EXPECT_EQ(value, "kept");
}

TEST_P(RegistryStoreContract, MissingValuesAreNotFoundAndLeaveTheOutputAlone) {
    auto key = create("Varnok\\Quorrel");
    std::string text = "untouched";
    std::uint32_t number = 7;
    EXPECT_EQ(key->queryString("PATH", 1024, text), RegStatus::NotFound);
    EXPECT_EQ(key->queryDword("AutoCheck", number), RegStatus::NotFound);
    EXPECT_EQ(text, "untouched");
    EXPECT_EQ(number, 7u);
}

TEST_P(RegistryStoreContract, ValuesKeepTheirTextTypeAndNumberForOtherReaders) {
    {
        auto key = create("Varnok\\Quorrel");
        ASSERT_EQ(key->setString("PATH", "C:\\Program Files\\\"Varnok\"\\설정"), RegStatus::Ok);
        ASSERT_EQ(key->setString("AdapterName", ""), RegStatus::Ok);
        ASSERT_EQ(key->setDword("AutoCheck", 1), RegStatus::Ok);
        ASSERT_EQ(key->setDword("Big", 0xFFFFFFFFu), RegStatus::Ok);
    }
    auto other = bed->anotherStore();
    auto key = open(*other, "Varnok\\Quorrel", RegAccess::Read);
    ASSERT_NE(key, nullptr);
    std::string text;
    std::uint32_t number = 0;
    EXPECT_EQ(key->queryString("path", 1024, text), RegStatus::Ok);
    EXPECT_EQ(text, "C:\\Program Files\\\"Varnok\"\\설정");
    text = "x";
    EXPECT_EQ(key->queryString("AdapterName", 255, text), RegStatus::Ok);
    EXPECT_EQ(text, "");
    EXPECT_EQ(key->queryDword("AUTOCHECK", number), RegStatus::Ok);
    EXPECT_EQ(number, 1u);
    EXPECT_EQ(key->queryDword("Big", number), RegStatus::Ok);
    EXPECT_EQ(number, 0xFFFFFFFFu);

    // A value read as the other type is a failed read.
    EXPECT_EQ(key->queryDword("PATH", number), RegStatus::WrongType);
    EXPECT_EQ(key->queryString("AutoCheck", 255, text), RegStatus::WrongType);

    // Setting a value again replaces it, type included.
    auto writer = create("Varnok\\Quorrel");
    ASSERT_EQ(writer->setString("AutoCheck", "yes"), RegStatus::Ok);
    EXPECT_EQ(key->queryString("AutoCheck", 255, text), RegStatus::Ok);
    EXPECT_EQ(text, "yes");
}

TEST_P(RegistryStoreContract, AKeyOpenedForReadingRefusesWrites) {
    create("Varnok\\Quorrel")->setDword("AutoCheck", 0);
    auto reader = open(bed->store(), "Varnok\\Quorrel", RegAccess::Read);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->setDword("AutoCheck", 1), RegStatus::AccessDenied);
    EXPECT_EQ(reader->setString("AdapterName", "eth0"), RegStatus::AccessDenied);
    std::uint32_t number = 9;
    EXPECT_EQ(reader->queryDword("AutoCheck", number), RegStatus::Ok);
    EXPECT_EQ(number, 0u);
    std::string text;
    EXPECT_EQ(reader->queryString("AdapterName", 255, text), RegStatus::NotFound);
}

TEST_P(RegistryStoreContract, ATextMustFitTheBufferWithItsTerminatingZero) {
    auto key = create("Varnok\\Quorrel");
    key->setString("Short", "abc");
    key->setString("Long", std::string(255, 'n'));
    key->setString("Fits", std::string(254, 'n'));
    // Korean characters take two bytes each in the program's code page.
    std::string hangul127;
    for (int i = 0; i < 127; ++i) {
        hangul127 += "가";
    }
    key->setString("Hangul127", hangul127);
    key->setString("Hangul128", hangul127 + "가");

    std::string value = "before";
    EXPECT_EQ(key->queryString("Short", 4, value), RegStatus::Ok);
    EXPECT_EQ(value, "abc");
    value = "before";
    EXPECT_EQ(key->queryString("Short", 3, value), RegStatus::MoreData);
    EXPECT_EQ(value, "before");
    EXPECT_EQ(key->queryString("Long", 255, value), RegStatus::MoreData);
    EXPECT_EQ(key->queryString("Long", 256, value), RegStatus::Ok);
    EXPECT_EQ(key->queryString("Fits", 255, value), RegStatus::Ok);
    EXPECT_EQ(value.size(), 254u);
    EXPECT_EQ(key->queryString("Hangul127", 255, value), RegStatus::Ok);
    EXPECT_EQ(value, hangul127);
    EXPECT_EQ(key->queryString("Hangul128", 255, value), RegStatus::MoreData);
}

TEST_P(RegistryStoreContract, TwoWritersAtOnceKeepEachOthersValues) {
    create("Varnok\\Quorrel");
    constexpr int kValuesEach = 25;
    const auto writer = [this](const std::string& prefix) {
        auto store = bed->anotherStore();
        for (int i = 0; i < kValuesEach; ++i) {
            std::unique_ptr<RegistryKey> key;
            ASSERT_EQ(store->openKey(path("Varnok\\Quorrel"), RegAccess::AllAccess, key),
                      RegStatus::Ok);
            ASSERT_EQ(key->setDword(prefix + std::to_string(i), static_cast<std::uint32_t>(i)),
                      RegStatus::Ok);
        }
    };
    std::thread first(writer, "A");
    std::thread second(writer, "B");
    first.join();
    second.join();

    auto key = open(bed->store(), "Varnok\\Quorrel", RegAccess::Read);
    ASSERT_NE(key, nullptr);
    for (const char* prefix : {"A", "B"}) {
        for (int i = 0; i < kValuesEach; ++i) {
            std::uint32_t number = 1000;
            EXPECT_EQ(key->queryDword(prefix + std::to_string(i), number), RegStatus::Ok)
                << prefix << i;
            EXPECT_EQ(number, static_cast<std::uint32_t>(i));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Stores, RegistryStoreContract,
                         ::testing::Values(BedMaker{"System", test::makeSystemRegistryTestBed},
                                           BedMaker{"Memory", test::makeMemoryRegistryTestBed}),
                         [](const ::testing::TestParamInfo<BedMaker>& bed) {
                             return std::string(bed.param.name);
                         });

}  // namespace
}  // namespace quorrel
