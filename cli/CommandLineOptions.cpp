#include "cli/CommandLineOptions.h"

#include <string_view>

#include "base/TextFormat.h"
#include "cli/ProfileExport.h"
#include "resources/CliTexts.h"

namespace quorrel {

namespace {

bool startsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

// An option that takes a value: "--name value" or "--name=value". False when `arg` is not
// this option. `error` is set when the value is missing.
bool takeValue(const std::vector<std::string>& args, std::size_t& i, std::string_view name,
               std::string& value, std::string& error) {
    const std::string& arg = args[i];
    if (arg == name) {
        // A following option is not a value: "--apply --adapter eth0" lacks the name.
        if (i + 1 >= args.size() || startsWith(args[i + 1], "--")) {
            error = fillFormat(texts::kCliMissingValueFormat, {name});
            return true;
        }
        value = args[++i];
        return true;
    }
    if (startsWith(arg, name) && arg.size() > name.size() && arg[name.size()] == '=') {
        value = arg.substr(name.size() + 1);
        return true;
    }
    return false;
}

// The seconds of --try: digits only, 1 to an hour. None for anything else.
std::optional<int> parseSeconds(const std::string& text) {
    constexpr int kMostSeconds = 3600;
    if (text.empty() || text.size() > 4) {
        return std::nullopt;
    }
    int seconds = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        seconds = seconds * 10 + (c - '0');
    }
    if (seconds < 1 || seconds > kMostSeconds) {
        return std::nullopt;
    }
    return seconds;
}

}  // namespace

bool wantsCommandLine(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (startsWith(arg, "--") || arg == "-h") {
            return true;
        }
    }
    return false;
}

CommandLineOptions parseCommandLine(const std::vector<std::string>& args) {
    CommandLineOptions options;
    bool commandGiven = false;
    const auto command = [&](CliCommand which) {
        if (commandGiven && options.error.empty()) {
            options.error = texts::kCliTwoCommands;
        }
        commandGiven = true;
        options.command = which;
    };

    for (std::size_t i = 0; i < args.size() && options.error.empty(); ++i) {
        const std::string& arg = args[i];
        std::string value;
        if (arg == "--help" || arg == "-h") {
            command(CliCommand::Help);
        } else if (arg == "--list") {
            command(CliCommand::List);
        } else if (arg == "--status") {
            command(CliCommand::Status);
        } else if (arg == "--where") {
            command(CliCommand::Where);
        } else if (arg == "--export") {
            command(CliCommand::Export);
            if (i + 2 >= args.size() || startsWith(args[i + 1], "--") ||
                startsWith(args[i + 2], "--")) {
                options.error = texts::kCliExportNeedsTwo;
            } else {
                options.exportFormat = args[++i];
                options.profileName = args[++i];
                if (!exportFormatNamed(options.exportFormat)) {
                    options.error =
                        fillFormat(texts::kCliUnknownFormatFormat, {options.exportFormat});
                }
            }
        } else if (takeValue(args, i, "--apply", value, options.error)) {
            command(CliCommand::Apply);
            options.profileName = value;
        } else if (takeValue(args, i, "--adapter", value, options.error)) {
            if (options.adapterName && options.error.empty()) {
                options.error = fillFormat(texts::kCliTwiceFormat, {"--adapter"});
            }
            options.adapterName = value;
        } else if (arg == "--check") {
            options.check = true;
        } else if (takeValue(args, i, "--try", value, options.error)) {
            if (options.trySeconds && options.error.empty()) {
                options.error = fillFormat(texts::kCliTwiceFormat, {"--try"});
            }
            options.trySeconds = parseSeconds(value);
            if (!options.trySeconds && options.error.empty()) {
                options.error = fillFormat(texts::kCliBadSecondsFormat, {value});
            }
        } else {
            options.error = fillFormat(texts::kCliUnknownOptionFormat, {arg});
        }
    }
    if (options.error.empty() && options.adapterName && options.command != CliCommand::Apply &&
        options.command != CliCommand::Where && options.command != CliCommand::Export) {
        options.error = texts::kCliAdapterWithoutApply;
    }
    if (options.error.empty() && (options.check || options.trySeconds) &&
        options.command != CliCommand::Apply) {
        options.error = texts::kCliTrialWithoutApply;
    }
    return options;
}

}  // namespace quorrel
