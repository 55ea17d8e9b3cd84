#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/RestorePoint.h"
#include "apply/ApplyTrial.h"
#include "apply/ConnectionChecks.h"
#include "base/Expected.h"
#include "cli/ExitCode.h"
#include "profiles/IpProfile.h"

namespace quorrel {

// What the trial after a command-line apply uses; every function may be called only from
// the calling thread, except `out` and `err`, which the owner makes safe from any thread.
struct ConsoleTrialServices {
    ConnectionCheckServices checks;
    // A line the user has typed since the last call, without its line end; none while
    // nothing new has come. Never blocks.
    std::function<std::optional<std::string>()> readAnswer;
    // Waits between two looks at the trial; the thread's sleep when empty.
    std::function<void(std::chrono::milliseconds)> sleep;
    std::function<void(std::string_view)> out;
    std::function<void(std::string_view)> err;
    // Applies the restore point's command lines, as the apply itself ran; true when every
    // line succeeded.
    std::function<bool(const RestorePoint&)> putBack;
    // After a failed put-back: keeps the previous configuration as the profile "복원[n]" in
    // the profile file and gives its name, or why it could not be saved.
    std::function<Expected<std::string>(const RestorePoint&)> keepRestoreProfile;
};

// After `applied` went onto the adapter with success: runs the connection checks and prints
// a line per check. With the policy of --check that is all (a failed check gives
// ExitCode::CheckFailed, the settings stay). With the policy of --try a failed check puts
// the previous configuration back at once; after passing checks the user has the policy's
// seconds to type "y" (keep) or "n" (put back now), and silence puts it back.
ExitCode runConsoleTrial(const IpProfile& applied, const RestorePoint& point, TrialPolicy policy,
                         ConsoleTrialServices& services);

// Lines typed on standard input, read by a thread of its own (started at the first call) so
// that a countdown goes on while nobody types. When the run ends before a line comes, the
// thread stays in its read until the process ends.
std::function<std::optional<std::string>()> standardInputAnswers();

}  // namespace quorrel
