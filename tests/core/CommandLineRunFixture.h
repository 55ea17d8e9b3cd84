#pragma once

// A command-line run against memory stores, a fake adapter table, a fake process runner
// and a fake connection probe, with its output collected: the set-up the command-line
// tests share.

#include <gtest/gtest.h>
#include <map>

#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "apply/ApplyPlan.h"
#include "cli/ApplySteps.h"
#include "cli/CommandLineRun.h"
#include "cli/ExitCode.h"
#include "resources/ApplyTexts.h"
#include "resources/ProfileTexts.h"
#include "tests/core/FakeConnectionProbe.h"
#include "tests/core/FakeProcessRunner.h"
#include "tests/support/FakeAdapterPlatform.h"
#include "tests/support/MemoryFileStore.h"
#include "tests/support/MemoryRegistryStore.h"
#include "tests/support/PassThroughCodec.h"
#include "tests/support/ProfileBuilder.h"

namespace quorrel::test {

inline constexpr const char* kDataFile = "/data/quorrel.dat";

// The adapter report of the status view: hands over its pieces, then ends, or keeps the
// collection waiting until it is told to stop.
class FakeReport final : public system::OutputCapture {
public:
    FakeReport(bool starts, std::vector<std::string> pieces, bool ends)
        : starts_(starts), pieces_(std::move(pieces)), ends_(ends) {}
    Done start() override { return starts_ ? Done{} : failure("ipconfig not found"); }
    bool collect(const system::OutputPiece& piece, const system::StopRequest& stop) override {
        for (const auto& p : pieces_) {
            piece(p);
        }
        while (!ends_ && !stop()) {
            std::this_thread::yield();
        }
        return ends_;
    }

private:
    bool starts_;
    std::vector<std::string> pieces_;
    bool ends_;
};

// Each adapter's network as given, and which adapters were looked at.
class SeenNetworks final : public platform::NetworkSensor {
public:
    SeenNetworks(const std::map<std::string, platform::NetworkFingerprint>& seen,
                 std::vector<std::string>& asked)
        : seen_(seen), asked_(asked) {}
    platform::NetworkFingerprint look(const std::string& connectionName,
                                      std::chrono::milliseconds) override {
        asked_.push_back(connectionName);
        const auto it = seen_.find(connectionName);
        return it == seen_.end() ? platform::NetworkFingerprint{} : it->second;
    }

private:
    const std::map<std::string, platform::NetworkFingerprint>& seen_;
    std::vector<std::string>& asked_;
};

class CommandLineRunTest : public ::testing::Test {
public:
    void SetUp() override {
        registry.putString(texts::kSettingsKeyPath, texts::kPathValue, "/data");
        registry.putDword(texts::kSettingsKeyPath, texts::kAutoCheckValue, 1);
        registry.putString(texts::kSettingsKeyPath, texts::kAdapterNameValue, "eth0");
        writeProfiles(
            {dhcpProfile("사무실"),
             fixedProfile("집", "10.77.0.20").gateway("10.77.0.1").dns("10.77.0.1", "8.8.8.8"),
             fixedProfile("실험실", "192.168.50.10")});
        // eth0 has the fixed configuration of "집".
        table.entries = {tableEntry("eth0", 0, "10.77.0.20", "255.255.255.0", "10.77.0.1"),
                         tableEntry("wlan0", 1, "172.16.0.9", "255.255.0.0", "172.16.0.1")};
        keys.add("eth0", "eth0", "10.77.0.1,8.8.8.8");
        keys.add("wlan0", "wlan0");
    }

    void writeProfiles(const std::vector<IpProfile>& profiles) {
        std::string bytes;
        for (const IpProfile& p : profiles) {
            bytes += p.name + "||" + (p.useDhcp ? "TRUE" : "FALSE") + "||" + p.ipAddress + "||" +
                     p.subnetMask + "||" + p.gateway + "||" + (p.dnsAuto ? "TRUE" : "FALSE") +
                     "||" + p.primaryDns + "||" + p.secondaryDns + "\r\n";
        }
        files.files[kDataFile] = bytes;
    }

    int run(const std::vector<std::string>& args) {
        CommandLineServices services{
            registry,
            files,
            codec,
            table,
            keys,
            '/',
            runner,
            [this]() -> std::unique_ptr<system::OutputCapture> {
                return std::make_unique<FakeReport>(reportStarts, reportPieces, reportEnds);
            },
            [](std::string_view bytes) { return std::string(bytes); },
            [this](std::string_view text) { append(out, text); },
            [this](std::string_view text) { append(err, text); },
            applyLimit,
            std::chrono::milliseconds(50),
            afterApply,
        };
        services.checks = world.services();
        services.networkSensor = [this] {
            return std::make_unique<SeenNetworks>(networksSeen, networksAsked);
        };
        services.readAnswer = [this]() -> std::optional<std::string> {
            if (answers.empty()) {
                return std::nullopt;
            }
            std::string line = answers.front();
            answers.erase(answers.begin());
            return line;
        };
        // The checks' questions answer at once; time passes only on the fake clock.
        services.trialSleep = [this](std::chrono::milliseconds period) {
            world.runJobs();
            world.advance(period);
        };
        return runCommandLine(parseCommandLine(args), services);
    }

    void append(std::string& stream, std::string_view text) {
        const std::lock_guard lock(mutex);
        stream += text;
    }

    // Every key the run opened was opened for reading; nothing was created.
    void expectSettingsOnlyRead() {
        for (const auto& [path, access] : registry.openLog()) {
            EXPECT_EQ(access, platform::RegAccess::Read) << path;
        }
    }

    test::MemoryRegistryStore registry;
    test::MemoryFileStore files;
    test::PassThroughCodec codec;
    test::FakeAdapterTable table;
    test::FakeAdapterKeys keys;
    std::shared_ptr<test::FakeProcessRunner> runner = std::make_shared<test::FakeProcessRunner>();
    bool reportStarts = true;
    std::vector<std::string> reportPieces;
    bool reportEnds = true;
    std::chrono::milliseconds applyLimit{100000};
    std::function<ExitCode(const AppliedProfile&)> afterApply;
    test::FakeCheckWorld world;
    std::vector<std::string> answers;
    std::map<std::string, platform::NetworkFingerprint> networksSeen;
    std::vector<std::string> networksAsked;
    std::mutex mutex;
    std::string out;
    std::string err;
};

}  // namespace quorrel::test
