#include "cli/TargetChoice.h"

#include "apply/AdapterNameRule.h"
#include "base/TextFormat.h"
#include "resources/CliTexts.h"

namespace quorrel {

ProfileChoice chooseProfile(const ProfileList& profiles, const std::string& name) {
    ProfileChoice choice;
    std::size_t count = 0;
    for (const IpProfile& profile : profiles) {
        if (profile.name == name) {
            if (count++ == 0) {
                choice.profile = &profile;
            }
        }
    }
    if (count == 1) {
        choice.verdict = ExitCode::Success;
        return choice;
    }
    choice.profile = nullptr;
    if (count == 0) {
        choice.verdict = ExitCode::UnknownProfile;
        choice.message = fillFormat(texts::kCliUnknownProfileFormat, {name});
    } else {
        choice.verdict = ExitCode::AmbiguousProfile;
        choice.message =
            fillFormat(texts::kCliAmbiguousProfileFormat, {name, std::to_string(count)});
    }
    return choice;
}

std::string adapterNames(const AdapterInventory& inventory) {
    std::string names;
    for (const AdapterInfo& adapter : inventory.records()) {
        names += (names.empty() ? "" : ", ") + adapter.connectionName;
    }
    return names;
}

AdapterChoice chooseAdapter(const AdapterInventory& inventory,
                            const std::optional<std::string>& given,
                            const std::string& remembered) {
    AdapterChoice choice;
    if (inventory.empty()) {
        choice.message = texts::kCliNoAdapters;
        return choice;
    }
    const bool byMemory = !given && !remembered.empty();
    const std::string name =
        given ? *given : (byMemory ? remembered : inventory.records().front().connectionName);

    std::size_t count = 0;
    for (const AdapterInfo& adapter : inventory.records()) {
        if (adapter.connectionName == name && count++ == 0) {
            choice.adapter = &adapter;
        }
    }
    if (count == 0) {
        choice.message = fillFormat(
            byMemory ? texts::kCliRememberedAdapterGoneFormat : texts::kCliUnknownAdapterFormat,
            {name, adapterNames(inventory)});
        return choice;
    }
    if (count > 1) {
        choice.adapter = nullptr;
        choice.verdict = ExitCode::AmbiguousAdapter;
        choice.message =
            fillFormat(texts::kCliAmbiguousAdapterFormat, {name, std::to_string(count)});
        return choice;
    }
    // The command lines must be able to carry the name, as in the window.
    if (const auto unusable = unusableAdapterNameMessage(name)) {
        choice.adapter = nullptr;
        choice.message = unusable->text;
        return choice;
    }
    choice.verdict = ExitCode::Success;
    return choice;
}

}  // namespace quorrel
