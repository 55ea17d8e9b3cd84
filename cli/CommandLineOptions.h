#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorrel {

// What the program was asked to do by its arguments.
enum class CliCommand {
    Window,  // no option of ours: the window opens
    List,    // --list
    Apply,   // --apply NAME [--adapter CONNECTION]
    Status,  // --status
    Where,   // --where [--adapter CONNECTION]
    Export,  // --export FORMAT NAME [--adapter INTERFACE]
    Help,    // --help, -h
};

struct CommandLineOptions {
    CliCommand command = CliCommand::Window;
    std::string profileName;                 // --apply, --export
    std::string exportFormat;                // --export: "keyfile", "nm" or "netplan"
    std::optional<std::string> adapterName;  // --adapter; none: the remembered adapter
    bool check = false;                      // --check
    std::optional<int> trySeconds;           // --try SECONDS
    std::string error;                       // not empty: the options are wrong, and why
};

// Whether the arguments (without the program's name) ask for the command line: any
// argument that starts with "--", and "-h". The window's toolkit takes its own options
// with one dash ("-platform offscreen"), so those still open the window.
bool wantsCommandLine(const std::vector<std::string>& args);

// Reads the arguments of a command-line run. Options take their value as the next
// argument or after "=" ("--apply 사무실", "--apply=사무실"); an empty value is a value.
// Exactly one of --list, --apply, --status, --where, --export, --help; --adapter only with
// --apply, --where or --export (there it names the interface, which need not exist here); --check
// and --try only with --apply (--try includes the checks of --check); nothing else. When `error` is
// set the options are wrong and nothing else of the result counts.
CommandLineOptions parseCommandLine(const std::vector<std::string>& args);

}  // namespace quorrel
