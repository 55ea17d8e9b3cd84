#include "cli/CommandLineRun.h"

#include <atomic>

#include "adapters/AdapterChoice.h"
#include "adapters/AdapterInventory.h"
#include "app/ProfileMatching.h"
#include "app/RestorePoint.h"
#include "apply/ApplyPlan.h"
#include "apply/CommandThread.h"
#include "base/TextFormat.h"
#include "cli/ApplySteps.h"
#include "cli/ConsoleTrial.h"
#include "cli/ExitCode.h"
#include "cli/ProfileExport.h"
#include "cli/ProfileTable.h"
#include "cli/TargetChoice.h"
#include "profiles/NetworkMemory.h"
#include "profiles/ProfileFile.h"
#include "profiles/Settings.h"
#include "resources/ApplyTexts.h"
#include "resources/CliTexts.h"

namespace quorrel {

namespace {

using Clock = std::chrono::steady_clock;

// How long --where waits for the gateway to answer.
constexpr std::chrono::milliseconds kGatewayLimit{1500};

// The message boxes of the inventory and of the command worker, as lines on standard
// error. `silent` drops them, for a run to which the adapters are only a side matter.
class ConsoleMessages final : public MessagePresenter {
public:
    ConsoleMessages(std::function<void(std::string_view)> err, bool silent)
        : err_(std::move(err)), silent_(silent) {}
    MessageResult show(const Message& message) override {
        if (!silent_) {
            err_(message.text + "\n");
        }
        return MessageResult::Ok;
    }

private:
    std::function<void(std::string_view)> err_;
    bool silent_;
};

class Run {
public:
    explicit Run(CommandLineServices& services) : s_(services) {}

    int list();
    int apply(const CommandLineOptions& options);
    int status();
    int where(const CommandLineOptions& options);
    int exportProfile(const CommandLineOptions& options);

private:
    void out(const std::string& line) const { s_.out(line + "\n"); }
    int fail(ExitCode code, const std::string& message) const {
        s_.err(message + "\n");
        return exitStatus(code);
    }
    // The profiles of the folder the settings name, read and never written. None after
    // telling the user why not.
    std::optional<ExitCode> loadProfiles(ProfileList& profiles, std::string& dataPath);
    bool runWorker(const ApplyPlan& plan, const IpProfile& profile);
    // What the adapter has now, read afresh as the window does after an apply.
    void printAdapterNow(const std::string& connectionName);
    int trial(const CommandLineOptions& options, const IpProfile& applied,
              const RestorePoint& point);
    Expected<std::string> keepRestoreProfile(const RestorePoint& point);

    CommandLineServices& s_;
};

std::optional<ExitCode> Run::loadProfiles(ProfileList& profiles, std::string& dataPath) {
    const Settings settings(s_.registry, nullptr);
    const std::optional<std::string> folder = settings.storedInstallFolder(s_.folderSeparator);
    if (!folder) {
        fail(ExitCode::NoProfiles, texts::kCliNoProfileFolder);
        return ExitCode::NoProfiles;
    }
    ProfileDataFile file(s_.files, s_.codec, *folder);
    dataPath = file.dataPath();
    if (const auto loaded = file.load(profiles); !loaded) {
        fail(ExitCode::NoProfiles,
             fillFormat(texts::kCliUnreadableFileFormat, {dataPath, loaded.error()}));
        return ExitCode::NoProfiles;
    }
    return std::nullopt;
}

int Run::list() {
    ProfileList profiles;
    std::string dataPath;
    if (const auto problem = loadProfiles(profiles, dataPath)) {
        return exitStatus(*problem);
    }
    if (profiles.empty()) {
        out(fillFormat(texts::kCliListEmptyFormat, {dataPath}));
        return exitStatus(ExitCode::Success);
    }

    // The mark of the profile in use, as the window sets it at start-up: on the adapter
    // chosen last (or the first), the first profile that describes its configuration.
    ConsoleMessages quiet(s_.err, true);
    AdapterInventory inventory(s_.adapterTable, s_.adapterKeys, quiet);
    inventory.enumerate();
    SelectStartupAdapter(inventory, Settings(s_.registry, nullptr).storedRememberedAdapter());
    const std::optional<IpProfile> settings = BuildCurrentSettings(inventory);
    profiles.clearCurrentMarks();
    const bool marked = MarkCurrentProfile(profiles, settings) == 1;

    out(fillFormat(texts::kCliListHeadingFormat, {std::to_string(profiles.size()), dataPath}));
    s_.out(formatProfileTable(profiles));
    if (marked) {
        out(fillFormat(texts::kCliInUseNoteFormat, {settings->connectionName}));
    }
    return exitStatus(ExitCode::Success);
}

int Run::apply(const CommandLineOptions& options) {
    ProfileList profiles;
    std::string dataPath;
    if (const auto problem = loadProfiles(profiles, dataPath)) {
        return exitStatus(*problem);
    }
    const ProfileChoice profile = chooseProfile(profiles, options.profileName);
    if (profile.profile == nullptr) {
        return fail(profile.verdict, profile.message);
    }

    ConsoleMessages messages(s_.err, false);
    AdapterInventory inventory(s_.adapterTable, s_.adapterKeys, messages);
    if (inventory.enumerate() == 0) {
        // The inventory has said that there is none.
        return exitStatus(ExitCode::UnknownAdapter);
    }
    const AdapterChoice adapter = chooseAdapter(
        inventory, options.adapterName, Settings(s_.registry, nullptr).storedRememberedAdapter());
    if (adapter.adapter == nullptr) {
        return fail(adapter.verdict, adapter.message);
    }
    const std::string connectionName = adapter.adapter->connectionName;
    const bool onTrial = options.check || options.trySeconds;
    // Taken before anything changes, so that --try can put it back.
    const std::optional<RestorePoint> point =
        onTrial ? takeRestorePoint(inventory, connectionName) : std::nullopt;
    if (onTrial && !point) {
        return fail(ExitCode::Failed,
                    fillFormat(texts::kCliRestorePointMissingFormat, {connectionName}));
    }

    out(fillFormat(texts::kCliApplyingFormat,
                   {platform::readableText(profile.profile->name), connectionName}));
    if (!runWorker(buildApplyPlan(*profile.profile, connectionName), *profile.profile)) {
        return fail(ExitCode::Failed, texts::kApplyFailedText);
    }
    out(texts::kApplyDoneText);
    printAdapterNow(connectionName);
    if (onTrial) {
        return trial(options, *profile.profile, *point);
    }
    if (s_.afterApply) {
        return exitStatus(s_.afterApply(AppliedProfile{*profile.profile, connectionName}));
    }
    return exitStatus(ExitCode::Success);
}

void Run::printAdapterNow(const std::string& connectionName) {
    ConsoleMessages messages(s_.err, false);
    AdapterInventory inventory(s_.adapterTable, s_.adapterKeys, messages);
    inventory.enumerate();
    if (const AdapterInfo* now = findAdapterByName(inventory, connectionName)) {
        out(fillFormat(texts::kCliNowFormat, {connectionName, describeAdapterSettings(*now)}));
    }
}

int Run::trial(const CommandLineOptions& options, const IpProfile& applied,
               const RestorePoint& point) {
    ConsoleTrialServices trial{
        s_.checks,
        s_.readAnswer,
        s_.trialSleep,
        s_.out,
        s_.err,
        [this](const RestorePoint& p) {
            const bool ok = runWorker(restorePlan(p), p.settings);
            printAdapterNow(p.connectionName);
            return ok;
        },
        [this](const RestorePoint& p) { return keepRestoreProfile(p); },
    };
    const TrialPolicy policy = options.trySeconds ? tryForSeconds(*options.trySeconds) : kCheckOnly;
    return exitStatus(runConsoleTrial(applied, point, policy, trial));
}

Expected<std::string> Run::keepRestoreProfile(const RestorePoint& point) {
    // Read afresh: the file is only added to, whatever happened to it meanwhile.
    const std::optional<std::string> folder =
        Settings(s_.registry, nullptr).storedInstallFolder(s_.folderSeparator);
    if (!folder) {
        return failure(texts::kCliNoProfileFolder);
    }
    ProfileDataFile file(s_.files, s_.codec, *folder);
    ProfileList profiles;
    if (const auto loaded = file.load(profiles); !loaded) {
        return failure(loaded.error());
    }
    const std::string name = keepAsRestoreProfile(profiles, point).name;
    if (const Done saved = file.save(profiles); !saved) {
        return failure(saved.error());
    }
    return platform::readableText(name);
}

bool Run::runWorker(const ApplyPlan& plan, const IpProfile& profile) {
    CommandThreadServices services;
    // The worker may outlive this run once it is given up: its reports hold their own
    // copy of the output, and fall silent then.
    auto givenUp = std::make_shared<std::atomic<bool>>(false);
    services.runner = std::make_shared<StepReportingRunner>(
        s_.runner, describeApplySteps(profile), [out = s_.out, givenUp](std::string_view line) {
            if (!givenUp->load()) {
                out(std::string(line) + "\n");
            }
        });
    // Without a user-interface thread the worker's boxes are printed where it stands.
    services.presenter = std::make_shared<ConsoleMessages>(s_.err, false);

    CCommandThread worker(plan, std::move(services));
    if (!worker.waitUntilEnded(Clock::now() + s_.applyTimeLimit)) {
        // As the progress dialog's time limit: the worker is given up, a line that runs
        // ends on its own and no further line starts.
        givenUp->store(true);
        worker.cancel();
        s_.err(fillFormat(texts::kCliTimedOutFormat,
                          {std::to_string(s_.applyTimeLimit.count() / 1000)}) +
               "\n");
        return false;
    }
    return worker.succeeded();
}

int Run::status() {
    std::unique_ptr<system::OutputCapture> capture = s_.statusReport ? s_.statusReport() : nullptr;
    const Done started = capture ? capture->start() : failure("no report command");
    if (!started) {
        return fail(ExitCode::Failed, fillFormat(texts::kCliStatusFailedFormat, {started.error()}));
    }
    std::string bytes;
    const Clock::time_point deadline = Clock::now() + s_.reportTimeLimit;
    const bool complete = capture->collect([&](std::string_view piece) { bytes.append(piece); },
                                           [&] { return Clock::now() >= deadline; });
    s_.out(s_.statusText ? s_.statusText(bytes) : bytes);
    if (!complete) {
        return fail(ExitCode::Failed,
                    fillFormat(texts::kCliStatusIncompleteFormat,
                               {std::to_string(s_.reportTimeLimit.count() / 1000)}));
    }
    return exitStatus(ExitCode::Success);
}

int Run::where(const CommandLineOptions& options) {
    const Settings settings(s_.registry, nullptr);
    const std::optional<std::string> folder = settings.storedInstallFolder(s_.folderSeparator);
    if (!folder) {
        return fail(ExitCode::NoProfiles, texts::kCliNoProfileFolder);
    }
    ConsoleMessages quiet(s_.err, true);
    AdapterInventory inventory(s_.adapterTable, s_.adapterKeys, quiet);
    if (inventory.enumerate() == 0) {
        return fail(ExitCode::UnknownAdapter, texts::kCliNoAdapters);
    }
    const AdapterChoice adapter =
        chooseAdapter(inventory, options.adapterName, settings.storedRememberedAdapter());
    if (adapter.adapter == nullptr) {
        return fail(adapter.verdict, adapter.message);
    }
    const std::string& connectionName = adapter.adapter->connectionName;
    const NetworkFingerprint seen = s_.networkSensor
                                        ? s_.networkSensor()->look(connectionName, kGatewayLimit)
                                        : NetworkFingerprint{};
    out(fillFormat(texts::kCliWhereAdapterFormat, {connectionName}));
    if (!seen.gatewayMac.empty()) {
        out(fillFormat(texts::kCliWhereGatewayFormat, {seen.gatewayMac}));
    }
    if (!seen.wifiName.empty()) {
        out(fillFormat(texts::kCliWhereWifiFormat, {platform::readableText(seen.wifiName)}));
    }
    if (seen.empty()) {
        out(texts::kCliWhereNothingSeen);
    }
    NetworkMemory networks;
    networks.load(s_.files, s_.codec, *folder);
    if (const std::string* profile = networks.recognise(seen)) {
        out(fillFormat(texts::kCliWhereMatchFormat, {platform::readableText(*profile)}));
        return exitStatus(ExitCode::Success);
    }
    out(texts::kCliWhereUnknown);
    return exitStatus(ExitCode::NotRecognised);
}

int Run::exportProfile(const CommandLineOptions& options) {
    ProfileList profiles;
    std::string dataPath;
    if (const auto problem = loadProfiles(profiles, dataPath)) {
        return exitStatus(*problem);
    }
    const ProfileChoice profile = chooseProfile(profiles, options.profileName);
    if (profile.profile == nullptr) {
        return fail(profile.verdict, profile.message);
    }
    // The interface named, which another machine may have; else the one chosen here.
    std::string ifname = options.adapterName.value_or(std::string());
    if (!options.adapterName) {
        ConsoleMessages quiet(s_.err, true);
        AdapterInventory inventory(s_.adapterTable, s_.adapterKeys, quiet);
        inventory.enumerate();
        SelectStartupAdapter(inventory, Settings(s_.registry, nullptr).storedRememberedAdapter());
        if (const std::optional<IpProfile> chosen = BuildCurrentSettings(inventory)) {
            ifname = chosen->connectionName;
        }
    }
    if (ifname.empty()) {
        return fail(ExitCode::UnknownAdapter, texts::kCliNoAdapters);
    }
    const std::optional<std::string> text =
        quorrel::exportProfile(*profile.profile, ifname, *exportFormatNamed(options.exportFormat));
    if (!text) {
        return fail(ExitCode::CannotExport,
                    fillFormat(texts::kCliCannotExportFormat,
                               {platform::readableText(profile.profile->name)}));
    }
    s_.out(*text);
    return exitStatus(ExitCode::Success);
}

}  // namespace

int runCommandLine(const CommandLineOptions& options, CommandLineServices& services) {
    if (!options.error.empty()) {
        services.err(options.error + "\n" + texts::kCliSeeHelp + "\n");
        return exitStatus(ExitCode::BadOptions);
    }
    Run run(services);
    switch (options.command) {
        case CliCommand::List:
            return run.list();
        case CliCommand::Apply:
            return run.apply(options);
        case CliCommand::Status:
            return run.status();
        case CliCommand::Where:
            return run.where(options);
        case CliCommand::Export:
            return run.exportProfile(options);
        case CliCommand::Help:
        case CliCommand::Window:
            break;
    }
    services.out(texts::kCliHelp);
    return exitStatus(ExitCode::Success);
}

}  // namespace quorrel
