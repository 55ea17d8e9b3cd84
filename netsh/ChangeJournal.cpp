#include "netsh/ChangeJournal.h"

#include <filesystem>
#include <sstream>

#include "platform/linux/PosixFileStore.h"
#include "system/linux/AtomicFile.h"

namespace quorrel::netsh {

namespace {

constexpr std::string_view kStatePrefix = "state.";

std::optional<bool> yesNo(const std::string& text) {
    if (text == "yes") {
        return true;
    }
    if (text == "no") {
        return false;
    }
    return std::nullopt;
}

}  // namespace

std::string formatChangeJournal(const ChangeJournal& journal) {
    std::string text =
        "# netsh began to change the address of this interface and has not finished.\n"
        "# The next netsh run on the interface puts back what is recorded here.\n";
    text += "change=" + journal.change + "\n";
    for (const auto& address : journal.found.addresses) {
        text += "address=" + formatAddress(address) + "\n";
    }
    for (const auto& route : journal.found.defaultRoutes) {
        text += "route=" + formatRoute(route) + "\n";
    }
    text += std::string("dhcp-client=") + (journal.dhcpClientRan ? "yes" : "no") + "\n";
    text += std::string("recorded=") + (journal.state ? "yes" : "no") + "\n";
    if (journal.state) {
        std::istringstream lines(platform::formatInterfaceState(*journal.state));
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty() && line[0] != '#') {
                text += std::string(kStatePrefix) + line + "\n";
            }
        }
    }
    return text;
}

std::optional<ChangeJournal> parseChangeJournal(const std::string& text) {
    ChangeJournal journal;
    std::optional<bool> client;
    std::optional<bool> recorded;
    std::string stateText;
    bool haveChange = false;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line.compare(0, kStatePrefix.size(), kStatePrefix) == 0) {
            stateText += line.substr(kStatePrefix.size()) + "\n";
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos) {
            return std::nullopt;
        }
        const std::string key = line.substr(0, eq);
        const std::string value = line.substr(eq + 1);
        if (key == "change") {
            journal.change = value;
            haveChange = true;
        } else if (key == "address") {
            const auto address = parseAddress(value);
            if (!address) {
                return std::nullopt;
            }
            journal.found.addresses.push_back(*address);
        } else if (key == "route") {
            const auto route = parseRoute(value);
            if (!route) {
                return std::nullopt;
            }
            journal.found.defaultRoutes.push_back(*route);
        } else if (key == "dhcp-client") {
            client = yesNo(value);
        } else if (key == "recorded") {
            recorded = yesNo(value);
        } else {
            return std::nullopt;
        }
    }
    if (!haveChange || !client || !recorded) {
        return std::nullopt;
    }
    journal.dhcpClientRan = *client;
    if (*recorded) {
        journal.state = platform::parseInterfaceState(stateText);
    }
    return journal;
}

Done writeChangeJournal(const std::string& folder, const std::string& ifname,
                        const ChangeJournal& journal) {
    const std::string path = platform::journalPath(folder, ifname);
    if (const Done written = system::replaceFileAtomically(path, formatChangeJournal(journal),
                                                           system::noLinkFollowed());
        !written) {
        return failure("cannot write " + path + ": " + written.error());
    }
    return {};
}

Done removeChangeJournal(const std::string& folder, const std::string& ifname) {
    std::error_code ec;
    std::filesystem::remove(platform::journalPath(folder, ifname), ec);
    if (ec) {
        return failure("cannot remove " + platform::journalPath(folder, ifname) + ": " +
                       ec.message());
    }
    return {};
}

JournalRead readChangeJournal(const std::string& folder, const std::string& ifname,
                              ChangeJournal& journal) {
    std::error_code ec;
    const std::string path = platform::journalPath(folder, ifname);
    if (!std::filesystem::exists(path, ec)) {
        return JournalRead::None;
    }
    platform::PosixFileStore files;
    const auto text = files.readAll(path);
    const auto parsed = text ? parseChangeJournal(*text) : std::nullopt;
    if (!parsed) {
        return JournalRead::Unreadable;
    }
    journal = *parsed;
    return JournalRead::Found;
}

}  // namespace quorrel::netsh
