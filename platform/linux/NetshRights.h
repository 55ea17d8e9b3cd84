#pragma once

// How netsh and the program that starts it agree about rights on Linux.
//
// netsh runs as the user who started the program. An interface that NetworkManager manages
// needs no rights of ours (NetworkManager's polkit rules decide). One that nobody manages
// is changed by netsh itself, which needs root: a netsh without rights then changes
// nothing, says why on standard error and exits with kNetshNeedsRightsExit. The program's
// process runner then starts the same command line once more through pkexec
// (kPkexecPath), with the absolute path of the installed netsh, so that polkit asks for
// authentication with the action of the policy the package installs
// (kNetshPolkitAction, whose org.freedesktop.policykit.exec.path names that netsh).

namespace quorrel::platform {

inline constexpr int kNetshNeedsRightsExit = 77;
inline constexpr const char* kPkexecPath = "/usr/bin/pkexec";
inline constexpr const char* kNetshPolkitAction = "org.varnok.quorrel.netsh";

}  // namespace quorrel::platform
