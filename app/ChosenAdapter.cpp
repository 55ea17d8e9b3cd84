#include "app/ChosenAdapter.h"

#include "adapters/AdapterInventory.h"
#include "app/ProfileMatching.h"
#include "app/ProfileNames.h"

namespace quorrel {

const IpProfile* ChosenAdapter::startUp(Settings& settings, ProfileList& list) {
    // The adapter chosen last, else the first one.
    settings.readRememberedAdapter(rememberedAdapter);
    SelectStartupAdapter(*inventory_, rememberedAdapter);

    // Every adapter configuration that no profile carries becomes a profile; then the
    // chosen adapter's present configuration marks the profile that describes it.
    takePicture();
    return AdoptAndMarkAtStartUp(list, *inventory_, currentSettings);
}

void ChosenAdapter::takePicture() {
    currentSettings = BuildCurrentSettings(*inventory_);
}

void ChosenAdapter::readAgain() {
    // Nothing may point into the records while they are read again.
    inventory_->clear();
    currentSettings.reset();
    inventory_->enumerate();
    inventory_->markSelected();
    takePicture();
}

void ChosenAdapter::chosen(ProfileList& list) {
    list.clearCurrentMarks();
    takePicture();
    // Without any adapter there is nothing to take over.
    if (MarkCurrentProfile(list, currentSettings) == 0 && currentSettings) {
        currentSettings->name = NextFreeProfileName(list);
        list.append(*currentSettings);
        MarkCurrentProfile(list, currentSettings);
    }
}

}  // namespace quorrel
