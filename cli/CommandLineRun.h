#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "apply/ConnectionChecks.h"
#include "cli/CommandLineOptions.h"
#include "cli/ExitCode.h"
#include "platform/AdapterKeys.h"
#include "platform/AdapterTable.h"
#include "platform/FileStore.h"
#include "platform/NetworkSensor.h"
#include "platform/ProcessRunner.h"
#include "platform/RegistryStore.h"
#include "platform/StatusReport.h"
#include "platform/TextCodec.h"
#include "profiles/IpProfile.h"

namespace quorrel {

// A profile that --apply has just applied, every line with success.
struct AppliedProfile {
    const IpProfile& profile;
    const std::string& connectionName;
};

// What a command-line run uses of the system; the owner keeps it alive for the run.
struct CommandLineServices {
    platform::RegistryStore& registry;
    platform::FileStore& files;
    const platform::TextCodec& codec;
    platform::AdapterTable& adapterTable;
    platform::AdapterKeys& adapterKeys;
    char folderSeparator = '/';
    // Runs the apply's command lines, as for the window.
    std::shared_ptr<platform::ProcessRunner> runner;
    // The adapter report of the status view, and its bytes as UTF-8 text.
    std::function<std::unique_ptr<system::OutputCapture>()> statusReport;
    std::function<std::string(std::string_view)> statusText;
    // Standard output and standard error, each call a whole line or more. Called from the
    // apply's worker thread as well, so they must be safe to call from any thread.
    std::function<void(std::string_view)> out;
    std::function<void(std::string_view)> err;
    // How long an apply may take before the run stops waiting: the progress dialog's
    // limit (500 ticks of 200 ms). How long the adapter report may take: the status view's.
    std::chrono::milliseconds applyTimeLimit{100000};
    std::chrono::milliseconds reportTimeLimit{10000};
    // A step after a successful apply and its report (say, a check of the new
    // configuration); it prints through out/err itself and its exit code becomes the run's.
    // None: the run ends in success.
    std::function<ExitCode(const AppliedProfile&)> afterApply{};
    // The connection checks of --check and --try: the probe (tests give a clock and a way
    // to run the questions too), the lines the user types (never blocking) and the wait
    // between two looks at the checks (the thread's sleep when empty).
    ConnectionCheckServices checks{};
    std::function<std::optional<std::string>()> readAnswer{};
    std::function<void(std::chrono::milliseconds)> trialSleep{};
    // --where: looks at the network behind an adapter; empty: no network is recognised.
    std::function<std::unique_ptr<platform::NetworkSensor>()> networkSensor{};
};

// Carries out a command-line run (not CliCommand::Window) and returns the process's exit
// code (ExitCode). Reads the profile folder and the remembered adapter from the settings
// as the window does, and never writes the settings; the profile file only when --try could
// not put the previous configuration back and keeps it there as "복원[n]". A window that
// runs meanwhile keeps its own list and sees an applied change as any change made outside
// it. An apply runs the window's command lines on the window's command worker, reports
// each line and its result, and succeeds only when every line did.
int runCommandLine(const CommandLineOptions& options, CommandLineServices& services);

}  // namespace quorrel
