#pragma once

namespace quorrel {

// The exit codes of the command line; `quorrel --help` and the README list them. Scripts
// rely on them: never renumber.
enum class ExitCode : int {
    Success = 0,           // --apply: every line of the apply succeeded
    Failed = 1,            // the apply failed, or the adapter report could not be read
    BadOptions = 2,        // unknown option, missing value, two commands at once
    UnknownProfile = 3,    // no profile of that name
    AmbiguousProfile = 4,  // two or more profiles of that name
    UnknownAdapter = 5,    // no adapter of that connection name, or none this program can set
    AmbiguousAdapter = 6,  // two or more adapters of that connection name
    NoProfiles = 7,        // no profile folder in the settings, or an unreadable data file
    CheckFailed = 8,       // --check: the apply succeeded but a connection check failed
    PutBack = 9,           // --try: the previous configuration was put back
    PutBackFailed = 10,    // --try: putting the previous configuration back failed
    NotRecognised = 11,    // --where: no profile was used on this network
    CannotExport = 12,     // --export: the profile's addresses cannot be written
};

inline int exitStatus(ExitCode code) {
    return static_cast<int>(code);
}

}  // namespace quorrel
