// The main frame's recognition of the network it is on: the checkable "자동 전환" and what
// follows a look after the chosen adapter moved. The decisions are NetworkRecognition's;
// this file asks the user and starts the apply.

#include <QAction>
#include <QApplication>

#include "app/ui/CMainFrame.h"
#include "base/CommandIds.h"
#include "base/ui/Prompter.h"
#include "profiles/Settings.h"
#include "resources/RecognitionTexts.h"

namespace quorrel {

void CMainFrame::installRecognition() {
    autoSwitch_ = Settings(registry(), traceLine).readSwitch(texts::kAutoSwitchValue);
    if (QAction* entry = menuAction(ID_AUTO_SWITCH)) {
        entry->setCheckable(true);
        entry->setChecked(autoSwitch_);
    }
    handlers_[ID_AUTO_SWITCH] = [this] {
        autoSwitch_ = !autoSwitch_;
        if (QAction* entry = menuAction(ID_AUTO_SWITCH)) {
            entry->setChecked(autoSwitch_);
        }
        Settings(registry(), traceLine).storeSwitch(texts::kAutoSwitchValue, autoSwitch_);
    };
    watchNetwork();
}

void CMainFrame::recogniseNetwork(const NetworkFingerprint& seen) {
    const IpProfile* inUse = store_.markedProfile();
    NetworkRecognition::Situation situation;
    situation.profileInUse = inUse != nullptr ? inUse->name : std::string();
    situation.connectionName =
        adapter_.currentSettings ? adapter_.currentSettings->connectionName : std::string();
    situation.autoSwitch = autoSwitch_;
    // A dialog that waits for the user (an editor, the offer before) is not interrupted.
    situation.busy = applyRun_.applyBusy != 0 || QApplication::activeModalWidget() != nullptr;
    const RecognitionStep step = recognition_.seen(seen, store_.networks, situation);
    switch (step.kind) {
        case RecognitionStep::Kind::Nothing:
            return;
        case RecognitionStep::Kind::Offer: {
            Message offer{step.text, texts::kRecognisedTitle, MessageIcon::Question,
                          MessageButtons::YesNo};
            if (prompter().show(offer) == MessageResult::Yes) {
                applyRecognised(step.profileName, false);
            }
            return;
        }
        case RecognitionStep::Kind::Switch:
            traceLine(step.text);
            applyRecognised(step.profileName, true);
            return;
    }
}

}  // namespace quorrel
