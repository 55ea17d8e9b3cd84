// The main frame's working state and the decisions of its commands, without widgets: the
// list's rows, the message boxes, the data file and the adapters are stand-ins.
#include <gtest/gtest.h>

#include <deque>
#include <memory>

#include "adapters/AdapterInventory.h"
#include "app/FrameState.h"
#include "resources/AppTexts.h"
#include "resources/ApplyTexts.h"
#include "tests/support/FakeAdapterPlatform.h"
#include "tests/support/MemoryFileStore.h"
#include "tests/support/MemoryRegistryStore.h"
#include "tests/support/PassThroughCodec.h"
#include "tests/support/ProfileBuilder.h"

namespace quorrel {
namespace {

using test::dhcpProfile;
using test::fixedProfile;

constexpr const char* kFolder = "/data/";
constexpr const char* kAdapter = "로컬 영역 연결";

// Records every box and answers with the next answer given, else OK.
class AnsweringPresenter final : public MessagePresenter {
public:
    MessageResult show(const Message& message) override {
        shown.push_back(message);
        if (answers.empty()) {
            return MessageResult::Ok;
        }
        const MessageResult answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<Message> shown;
    std::deque<MessageResult> answers;
};

// The rows of the list as shown: one per profile name, with the first address columns,
// and where each row's profile stands in the list (unknown unless given).
class ShownRows final : public ListRows {
public:
    int rowCount() const override { return static_cast<int>(rows.size()); }
    int firstSelectedRow() const override { return selected; }
    std::string cellText(int row, int column) const override {
        const auto& cells = rows.at(static_cast<std::size_t>(row));
        return static_cast<std::size_t>(column) < cells.size()
                   ? cells[static_cast<std::size_t>(column)]
                   : std::string();
    }
    int listPosition(int row) const override {
        const auto at = static_cast<std::size_t>(row);
        return at < positions.size() ? positions[at] : -1;
    }

    std::vector<std::vector<std::string>> rows;
    std::vector<int> positions;
    int selected = -1;
};

class FrameStateTest : public ::testing::Test {
protected:
    FrameStateTest() {
        table.entries = {test::tableEntry("{A}", 1, "10.1.1.5", "255.255.255.0", "10.1.1.1")};
        keys.add("{A}", kAdapter, "");
        inventory.enumerate();
        state.attachInventory(inventory);
        state.installFolder = kFolder;
    }

    // The start-up choice of the first adapter and its picture, as the frame makes them.
    void chooseFirstAdapter() {
        inventory.setSelectedName(kAdapter);
        inventory.markSelected();
        state.adapterChosen();
    }

    void showRows(std::vector<std::vector<std::string>> shown, int selected) {
        rows.rows = std::move(shown);
        rows.selected = selected;
    }

    std::vector<std::string> names() const {
        std::vector<std::string> result;
        for (const IpProfile& p : state.profileList) {
            result.push_back(p.name + (p.isCurrent == 1 ? " *" : ""));
        }
        return result;
    }

    bool dataFileWritten() const { return files.files.count(state.dataFilePath()) != 0; }

    test::MemoryFileStore files;
    test::PassThroughCodec codec;
    AnsweringPresenter messages;
    std::vector<std::string> traced;
    test::FakeAdapterTable table;
    test::FakeAdapterKeys keys;
    AdapterInventory inventory{table, keys, messages};
    FrameState state{FrameStateServices{
        files, codec, messages, [this](const std::string& line) { traced.push_back(line); }}};
    ShownRows rows;
};

TEST_F(FrameStateTest, TheDataStartUpLoadsAdoptsAndMarks) {
    files.files["/given/quorrel.dat"] = "집||TRUE||||||||TRUE||||\r\n";
    test::MemoryRegistryStore registry;
    Settings settings(registry, [](const std::string&) {});
    const FolderPrompt neverAsked = [](const std::string&, const std::string&) {
        ADD_FAILURE() << "the given folder needs no prompt";
        return std::optional<std::string>();
    };
    state.runDataStartup("/given/", settings, neverAsked, InstallFolderDefaults{});

    EXPECT_EQ(state.installFolder, "/given/");
    EXPECT_EQ(files.files.count("/given/quorrel.bak"), 1u);
    // The DHCP adapter with automatic DNS is described by 집, so nothing is adopted.
    EXPECT_EQ(names(), (std::vector<std::string>{"집 *"}));
    ASSERT_TRUE(state.currentSettings);
    EXPECT_EQ(state.currentSettings->connectionName, kAdapter);
    ASSERT_NE(state.adapterList, nullptr);
    EXPECT_EQ(state.adapterList->adapterId, "{A}");
    EXPECT_EQ(state.profilesModified, 0);
}

TEST_F(FrameStateTest, AChosenAdapterMarksItsProfileOrIsTakenOverAsANewOne) {
    state.profileList.append(fixedProfile("사무실", "192.168.0.10").current());
    chooseFirstAdapter();
    EXPECT_EQ(names(), (std::vector<std::string>{"사무실", "설정[1] *"}));

    // Chosen again: now a profile describes it, and nothing more is added.
    chooseFirstAdapter();
    EXPECT_EQ(names(), (std::vector<std::string>{"사무실", "설정[1] *"}));

    // Without any adapter there is no picture and nothing to take over.
    inventory.clear();
    state.adapterChosen();
    EXPECT_FALSE(state.currentSettings);
    EXPECT_EQ(state.adapterList, nullptr);
    EXPECT_EQ(names(), (std::vector<std::string>{"사무실", "설정[1]"}));
}

TEST_F(FrameStateTest, TheConfirmationShowsTheRowOrTheNamedProfile) {
    state.profileList.append(fixedProfile("사무실", "192.168.0.10").gateway("192.168.0.1"));
    state.profileList.append(dhcpProfile("집"));
    showRows({{"집", "- DHCP -", "- DHCP -", "- DHCP -"},
              {"사무실", "192.168.0.10", "255.255.255.0", "192.168.0.1"}},
             1);
    const struct {
        const char* what;
        std::optional<std::string> name;
        bool withAdapter;
        std::optional<std::string> ipText;  // none: no confirmation
        std::size_t messages;
    } cases[] = {
        {"without an adapter the user is asked for one", std::nullopt, false, std::nullopt, 1},
        {"the selected row as shown", std::nullopt, true, "192.168.0.10", 0},
        {"a named profile by its own values", "집", true, "DHCP", 0},
        {"an unknown name stops silently", "없는 이름", true, std::nullopt, 0},
    };
    for (const auto& c : cases) {
        messages.shown.clear();
        state.currentSettings.reset();
        if (c.withAdapter) {
            chooseFirstAdapter();
        }
        const auto confirmation = state.confirmApply(c.name, &rows);
        ASSERT_EQ(confirmation.has_value(), c.ipText.has_value()) << c.what;
        EXPECT_EQ(messages.shown.size(), c.messages) << c.what;
        if (confirmation) {
            EXPECT_EQ(confirmation->adapterName, kAdapter) << c.what;
            EXPECT_EQ(confirmation->ipText, *c.ipText) << c.what;
            EXPECT_EQ(state.confirmIpAddress, *c.ipText) << c.what;
            EXPECT_EQ(state.confirmConnectionName, kAdapter) << c.what;
        }
    }
}

TEST_F(FrameStateTest, ASuccessfulApplyMarksTheProfileAndReadsTheAdaptersAgain) {
    state.profileList.append(fixedProfile("사무실", "192.168.0.10").gateway("192.168.0.1"));
    chooseFirstAdapter();
    const std::optional<ApplyPlan> plan = state.beginApply("사무실", nullptr);
    ASSERT_TRUE(plan);
    EXPECT_NE(plan->addressLine.find(kAdapter), std::string::npos);
    EXPECT_EQ(state.applyBusy, 1);
    EXPECT_FALSE(state.beginApply("사무실", nullptr)) << "one apply at a time";

    table.entries = {test::tableEntry("{A}", 0, "192.168.0.10", "255.255.255.0", "192.168.0.1")};
    state.finishApply(true);

    EXPECT_EQ(state.applyBusy, 0);
    EXPECT_EQ(state.lastAppliedName, "사무실");
    EXPECT_EQ(names(), (std::vector<std::string>{"사무실 *", "설정[1]"}));
    ASSERT_TRUE(state.currentSettings);
    EXPECT_EQ(state.currentSettings->ipAddress, "192.168.0.10");
    EXPECT_EQ(state.adapterList, &inventory.records().front());
    EXPECT_EQ(traced, (std::vector<std::string>{"사무실"}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, texts::kApplyDoneText);
}

TEST_F(FrameStateTest, AFailedApplyChangesNothingButTellsTheUser) {
    state.profileList.append(fixedProfile("사무실", "192.168.0.10"));
    chooseFirstAdapter();
    ASSERT_TRUE(state.beginApply("사무실", nullptr));
    table.entries.clear();
    state.finishApply(false, "netsh: Not authorized to control networking");

    EXPECT_EQ(state.applyBusy, 0);
    EXPECT_EQ(state.lastAppliedName, "");
    EXPECT_EQ(names(), (std::vector<std::string>{"사무실", "설정[1] *"}));
    EXPECT_EQ(state.currentSettings->ipAddress, "10.1.1.5");
    EXPECT_TRUE(traced.empty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, texts::kApplyFailedText);
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Stop);
    // The reason goes beside the unchanged text, in the box's details.
    EXPECT_EQ(messages.shown[0].details, "netsh: Not authorized to control networking");
}

TEST_F(FrameStateTest, AnEditIsTakenOverAndTheProfileAppliedLastFollowsIt) {
    const struct {
        const char* what;
        const char* lastApplied;
        IpProfile edited;
        bool reapply;
        const char* lastAppliedAfter;
    } cases[] = {
        {"nothing changed", "Lab", fixedProfile("Lab", "10.0.0.2"), false, "Lab"},
        {"a new name only", "Lab", fixedProfile("Home", "10.0.0.2"), false, "Home"},
        {"new settings of the profile applied last", "Lab", fixedProfile("Lab", "10.0.0.9"), true,
         "Lab"},
        {"name and settings at once", "Lab", fixedProfile("Home", "10.0.0.9"), true, "Home"},
        {"new settings of another profile", "Other", fixedProfile("Lab", "10.0.0.9"), false,
         "Other"},
    };
    for (const auto& c : cases) {
        state.profileList.clear();
        state.profilesModified = 0;
        state.lastAppliedName = c.lastApplied;
        IpProfile& listed = state.profileList.append(fixedProfile("Lab", "10.0.0.2").current());
        const EditOutcome outcome = state.takeEdit(listed, c.edited);
        const bool changed = std::string(c.what) != "nothing changed";
        EXPECT_EQ(outcome.changed, changed) << c.what;
        EXPECT_EQ(outcome.reapply, c.reapply) << c.what;
        EXPECT_EQ(state.profilesModified, changed ? 1 : 0) << c.what;
        EXPECT_EQ(state.lastAppliedName, c.lastAppliedAfter) << c.what;
        EXPECT_EQ(listed.name, c.edited.name) << c.what;
        EXPECT_EQ(listed.ipAddress, c.edited.ipAddress) << c.what;
        EXPECT_EQ(listed.isCurrent, 1) << c.what << ": the mark stays";
    }
}

TEST_F(FrameStateTest, DeleteRefusesTheProfileInUseAndAsksFirst) {
    const struct {
        const char* what;
        int selectedRow;
        std::optional<MessageResult> answer;
        bool removed;
        std::size_t messages;
    } cases[] = {
        {"no row selected", -1, std::nullopt, false, 0},
        {"the profile in use", 0, std::nullopt, false, 1},
        {"declined", 1, MessageResult::Cancel, false, 1},
        {"confirmed", 1, MessageResult::Ok, true, 1},
    };
    for (const auto& c : cases) {
        state.profileList.clear();
        files.files.clear();
        messages.shown.clear();
        state.profileList.append(fixedProfile("Office", "10.0.0.1").current());
        state.profileList.append(fixedProfile("Lab", "10.0.0.2"));
        showRows({{"Office"}, {"Lab"}}, c.selectedRow);
        if (c.answer) {
            messages.answers = {*c.answer};
        }
        EXPECT_EQ(state.deleteSelected(&rows), c.removed) << c.what;
        EXPECT_EQ(messages.shown.size(), c.messages) << c.what;
        EXPECT_EQ(state.profileList.size(), c.removed ? 1u : 2u) << c.what;
        EXPECT_EQ(dataFileWritten(), c.removed) << c.what;
    }
    EXPECT_EQ(names(), (std::vector<std::string>{"Office *"}));
}

TEST_F(FrameStateTest, ARenamedOrDeletedProfileTakesItsNetworkAlong) {
    const NetworkFingerprint office{"00:11:22:AA:BB:01", ""};
    const std::string networkFile = std::string(kFolder) + "quorrel.net";
    IpProfile& lab = state.profileList.append(fixedProfile("Lab", "10.0.0.2"));
    state.profileList.append(fixedProfile("Other", "10.0.0.3"));
    state.rememberNetwork("Lab", office, NetworkMemory::Moment::Applied);
    EXPECT_EQ(files.files[networkFile], "Lab||00:11:22:AA:BB:01||\r\n");
    // A profile that is not listed remembers nothing.
    state.rememberNetwork("Gone", {"00:11:22:AA:BB:02", ""}, NetworkMemory::Moment::Applied);
    EXPECT_EQ(state.networks.entries().size(), 1u);

    state.takeEdit(lab, fixedProfile("Office", "10.0.0.2"));
    EXPECT_EQ(files.files[networkFile], "Office||00:11:22:AA:BB:01||\r\n");

    showRows({{"Office"}, {"Other"}}, 0);
    messages.answers = {MessageResult::Ok};
    ASSERT_TRUE(state.deleteSelected(&rows));
    EXPECT_EQ(files.files[networkFile], "");
    EXPECT_EQ(state.networks.recognise(office), nullptr);
}

TEST_F(FrameStateTest, CopiesAndNewProfilesJoinTheList) {
    state.profileList.append(dhcpProfile("집").current());
    EXPECT_FALSE(state.copySelected(&rows)) << "no row shown";
    showRows({{"집"}}, 0);
    EXPECT_TRUE(state.copySelected(&rows));
    state.addProfile(fixedProfile("Cafe", "10.0.0.7"));
    EXPECT_EQ(state.profilesModified, 1);
    EXPECT_EQ(names(), (std::vector<std::string>{"집 *", "집[1]", "Cafe"}));
}

TEST_F(FrameStateTest, AFailedSaveNamesTheFileAndKeepsTheChangeOpen) {
    files.unwritable[state.dataFilePath()] = true;
    state.addProfile(dhcpProfile("집"));
    state.saveIfModified();
    EXPECT_EQ(state.profilesModified, 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(state.dataFilePath()), std::string::npos);

    // Closing asks whether to close anyway; No keeps the window.
    messages.answers = {MessageResult::No};
    EXPECT_FALSE(state.mayClose());
    files.unwritable.clear();
    EXPECT_TRUE(state.mayClose());
    EXPECT_EQ(state.profilesModified, 0);
    EXPECT_TRUE(dataFileWritten());
}

TEST_F(FrameStateTest, OfTwoNamesakesTheCommandsTakeTheSelectedRowsOwnRecord) {
    IpProfile& first = state.profileList.append(fixedProfile("집", "10.0.0.1"));
    IpProfile& second = state.profileList.append(fixedProfile("집", "10.0.0.2"));
    state.profileList.append(fixedProfile("Lab", "10.0.0.3"));
    // Sorted by address, descending: the second namesake shows first.
    showRows({{"Lab", "10.0.0.3"}, {"집", "10.0.0.2"}, {"집", "10.0.0.1"}}, 1);
    const struct {
        const char* what;
        std::vector<int> positions;
        const IpProfile* found;
    } cases[] = {
        {"the record at the row's place", {2, 1, 0}, &second},
        {"a place whose record shows another name: the first of the name", {2, 2, 0}, &first},
        {"no place known: the first of the name", {}, &first},
    };
    for (const auto& c : cases) {
        rows.positions = c.positions;
        EXPECT_EQ(state.selectedProfile(&rows), c.found) << c.what;
    }

    rows.positions = {2, 1, 0};
    ASSERT_TRUE(state.copySelected(&rows));
    EXPECT_EQ(std::prev(state.profileList.end())->ipAddress, "10.0.0.2");

    // The apply confirms, runs and marks the selected record, not the first of its name.
    chooseFirstAdapter();
    const auto confirmation = state.confirmApply(std::nullopt, &rows);
    ASSERT_TRUE(confirmation);
    EXPECT_EQ(confirmation->ipText, "10.0.0.2");
    const std::optional<ApplyPlan> plan = state.beginApply(std::nullopt, &rows);
    ASSERT_TRUE(plan);
    EXPECT_NE(plan->addressLine.find("10.0.0.2"), std::string::npos);
    state.finishApply(true);
    EXPECT_EQ(first.isCurrent, 0);
    EXPECT_EQ(second.isCurrent, 1);

    // A listed record given by itself (the edit's re-apply) is the one applied.
    ASSERT_TRUE(state.confirmApply(&first, nullptr));
    ASSERT_TRUE(state.beginApply(&first, nullptr));
    state.finishApply(true);
    EXPECT_EQ(first.isCurrent, 1);
    EXPECT_EQ(second.isCurrent, 0);

    // Delete removes the selected record and keeps its namesake, which is not in use now.
    messages.answers = {MessageResult::Ok};
    rows.selected = 1;
    EXPECT_TRUE(state.deleteSelected(&rows));
    std::vector<std::string> left;
    for (const IpProfile& p : state.profileList) {
        left.push_back(p.name + " " + p.ipAddress);
    }
    // 설정[1] took over the adapter's configuration, obtained by DHCP.
    EXPECT_EQ(left, (std::vector<std::string>{"집 10.0.0.1", "Lab 10.0.0.3", "집[1] 10.0.0.2",
                                              "설정[1] "}));
}

TEST_F(FrameStateTest, AnAdapterNameTheLinesCannotCarryIsRefusedBeforeTheConfirmation) {
    state.profileList.append(fixedProfile("사무실", "192.168.0.10"));
    chooseFirstAdapter();
    state.currentSettings->connectionName = "lan\"0";
    for (const std::optional<std::string>& name :
         {std::optional<std::string>("사무실"), std::optional<std::string>()}) {
        messages.shown.clear();
        showRows({{"사무실", "192.168.0.10"}}, 0);
        EXPECT_FALSE(state.confirmApply(name, &rows));
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].caption, texts::kUnusableAdapterCaption);
        EXPECT_NE(messages.shown[0].text.find("lan\"0"), std::string::npos);
        EXPECT_EQ(state.applyBusy, 0);
    }
}

TEST_F(FrameStateTest, AnUnreadableDataFileIsNamedOnceAndNeverSavedOver) {
    const std::string path = state.dataFilePath();
    files.files[path] = "집||TRUE||||||||TRUE||||\r\n";
    files.unreadable[path] = "Permission denied";
    EXPECT_EQ(state.loadProfiles(), 0);
    EXPECT_TRUE(state.profileList.empty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(path), std::string::npos);
    EXPECT_NE(messages.shown[0].text.find("Permission denied"), std::string::npos);

    // Neither a command's save nor the closing one writes, and nothing more is said.
    files.unreadable.clear();
    state.addProfile(dhcpProfile("새 설정"));
    EXPECT_EQ(state.saveProfiles(), 0);
    state.saveIfModified();
    EXPECT_TRUE(state.mayClose());
    EXPECT_EQ(files.files[path], "집||TRUE||||||||TRUE||||\r\n");
    EXPECT_EQ(messages.shown.size(), 1u);
}

}  // namespace
}  // namespace quorrel
