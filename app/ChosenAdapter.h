#pragma once

#include <optional>
#include <string>

#include "profiles/IpProfile.h"
#include "profiles/ProfileList.h"
#include "profiles/Settings.h"

namespace quorrel {

class AdapterInventory;

// The adapter the frame works on: the run's inventory, the picture of the chosen adapter
// (currentSettings, null without an adapter) and the adapter the settings remember. The
// in-use mark of the profiles follows the picture.
class ChosenAdapter {
public:
    std::optional<IpProfile> currentSettings;
    std::string rememberedAdapter;

    // The run's adapter inventory; the adapter selection dialog owns it and outlives this
    // object's use of it. Null until attached.
    void attachInventory(AdapterInventory& inventory) { inventory_ = &inventory; }
    AdapterInventory* inventory() const { return inventory_; }

    // The start-up: the adapter chosen last (else the first one), the adoption of adapter
    // configurations that no profile in `list` describes, and the in-use mark. Returns the
    // marked profile, or nullptr.
    const IpProfile* startUp(Settings& settings, ProfileList& list);
    // After the adapter dialog's OK made another adapter the choice: the new adapter's
    // picture and in-use mark. A configuration that no profile describes is taken over as
    // a new profile "설정[n]", which then carries the mark.
    void chosen(ProfileList& list);
    // Reads the adapters afresh, marks the chosen one and takes its picture.
    void readAgain();

private:
    // currentSettings from the inventory as it is.
    void takePicture();

    AdapterInventory* inventory_ = nullptr;
};

}  // namespace quorrel
