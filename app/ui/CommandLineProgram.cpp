#include "app/ui/CommandLineProgram.h"

#include <string>
#include <vector>

#include "cli/CommandLineRun.h"
#include "cli/ConsoleTrial.h"
#include "platform/AdapterKeys.h"
#include "platform/AdapterTable.h"
#include "platform/ConnectionProbe.h"
#include "platform/DebugOutput.h"
#include "platform/FileStore.h"
#include "platform/NetworkSensor.h"
#include "platform/PlatformPaths.h"
#include "platform/ProcessRunner.h"
#include "platform/RegistryStore.h"
#include "platform/StandardStreams.h"
#include "platform/StatusReport.h"
#include "platform/TextCodec.h"

namespace quorrel {

int runCommandLineProgram(const CommandLineOptions& options) {
    const auto registry = platform::makeSystemRegistryStore();
    const auto files = platform::makeSystemFileStore();
    const auto codec = platform::makeCp949Codec();
    const auto table = platform::makeSystemAdapterTable();
    const auto keys = platform::makeSystemAdapterKeys();
    CommandLineServices services{
        *registry,
        *files,
        *codec,
        *table,
        *keys,
        platform::folderSeparator(),
        platform::makeSystemProcessRunner(),
        [] { return platform::makeStatusReportCapture(); },
        [](std::string_view bytes) { return platform::statusReportUtf8(bytes); },
        platform::writeStandardOutput,
        platform::writeStandardError,
    };
    services.networkSensor = platform::makeSystemNetworkSensor;
    if (options.check || options.trySeconds) {
        services.checks.probe = platform::makeSystemConnectionProbe();
        services.readAnswer = standardInputAnswers();
    }
    return runCommandLine(options, services);
}

std::optional<int> runCommandLineIfAsked(int argc, char** argv) {
    platform::keepRunningWhenOutputCloses();
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (!wantsCommandLine(args)) {
        return std::nullopt;
    }
    platform::connectStandardStreams();
    return runCommandLineProgram(parseCommandLine(args));
}

}  // namespace quorrel
