// The parts of the main frame's working state and the decisions of its commands, without
// widgets: the list's rows, the message boxes, the data file and the adapters are stand-ins.
#include <gtest/gtest.h>

#include <deque>
#include <memory>

#include "adapters/AdapterInventory.h"
#include "app/DataStartup.h"
#include "app/SelectedProfile.h"
#include "resources/AppTexts.h"
#include "resources/ApplyTexts.h"
#include "tests/support/FakeAdapterPlatform.h"
#include "tests/support/FrameParts.h"
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

class FramePartsTest : public ::testing::Test {
protected:
    FramePartsTest() {
        table.entries = {test::tableEntry("{A}", 1, "10.1.1.5", "255.255.255.0", "10.1.1.1")};
        keys.add("{A}", kAdapter, "");
        inventory.enumerate();
        state.adapter.attachInventory(inventory);
        state.store.installFolder = kFolder;
    }

    // The start-up choice of the first adapter and its picture, as the frame makes them.
    void chooseFirstAdapter() {
        inventory.setSelectedName(kAdapter);
        inventory.markSelected();
        state.adapter.chosen(state.store.profileList);
    }

    void showRows(std::vector<std::vector<std::string>> shown, int selected) {
        rows.rows = std::move(shown);
        rows.selected = selected;
    }

    std::vector<std::string> names() const {
        std::vector<std::string> result;
        for (const IpProfile& p : state.store.profileList) {
            result.push_back(p.name + (p.isCurrent == 1 ? " *" : ""));
        }
        return result;
    }

    bool dataFileWritten() const { return files.files.count(state.store.dataFilePath()) != 0; }

    test::MemoryFileStore files;
    test::PassThroughCodec codec;
    AnsweringPresenter messages;
    std::vector<std::string> traced;
    test::FakeAdapterTable table;
    test::FakeAdapterKeys keys;
    AdapterInventory inventory{table, keys, messages};
    test::FrameParts state{ProfileStoreServices{
        files, codec, messages, [this](const std::string& line) { traced.push_back(line); }}};
    ShownRows rows;
};

TEST_F(FramePartsTest, TheDataStartUpLoadsAdoptsAndMarks) {
    files.files["/given/quorrel.dat"] = "집||TRUE||||||||TRUE||||\r\n";
    test::MemoryRegistryStore registry;
    Settings settings(registry, [](const std::string&) {});
    const FolderPrompt neverAsked = [](const std::string&, const std::string&) {
        ADD_FAILURE() << "the given folder needs no prompt";
        return std::optional<std::string>();
    };
    runDataStartup(state.store, state.adapter, "/given/", settings, neverAsked,
                   InstallFolderDefaults{});

    EXPECT_EQ(state.store.installFolder, "/given/");
    EXPECT_EQ(files.files.count("/given/quorrel.bak"), 1u);
    // The DHCP adapter with automatic DNS is described by 집, so nothing is adopted.
    EXPECT_EQ(names(), (std::vector<std::string>{"집 *"}));
    ASSERT_TRUE(state.adapter.currentSettings);
    EXPECT_EQ(state.adapter.currentSettings->connectionName, kAdapter);
    EXPECT_EQ(state.store.profilesModified, 0);
}

TEST_F(FramePartsTest, TheDataStartUpIsTheSameWithTheDataFileReadAhead) {
    const struct {
        const char* readAhead;  // the prefetch's folder; "" for none
        bool unreadable;
    } cases[] = {{"", false}, {"/given/", false}, {"/other/", false},
                 {"", true},  {"/given/", true},  {"/other/", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.readAhead) + (c.unreadable ? " unreadable" : ""));
        test::MemoryFileStore disk;
        disk.files["/given/quorrel.dat"] = "집||TRUE||||||||TRUE||||\r\n";
        disk.files["/other/quorrel.dat"] = "딴 곳||TRUE||||||||TRUE||||\r\n";
        if (c.unreadable) {
            disk.unreadable["/given/quorrel.dat"] = "Permission denied";
        }
        AnsweringPresenter told;
        test::FrameParts parts{ProfileStoreServices{disk, codec, told, [](const std::string&) {}}};
        parts.adapter.attachInventory(inventory);
        test::MemoryRegistryStore registry;
        Settings settings(registry, [](const std::string&) {});
        std::unique_ptr<DataPrefetch> prefetch;
        if (*c.readAhead != '\0') {
            prefetch = std::make_unique<DataPrefetch>(disk, codec, c.readAhead);
        }
        runDataStartup(parts.store, parts.adapter, "/given/", settings, {}, InstallFolderDefaults{},
                       prefetch.get());
        prefetch.reset();

        std::vector<std::string> listed;
        for (const IpProfile& p : parts.store.profileList) {
            listed.push_back(p.name + (p.isCurrent == 1 ? " *" : ""));
        }
        EXPECT_EQ(listed, c.unreadable ? std::vector<std::string>{"설정[1] *"}
                                       : std::vector<std::string>{"집 *"});
        EXPECT_EQ(disk.files.count("/given/quorrel.bak"), c.unreadable ? 0u : 1u);
        EXPECT_EQ(told.shown.size(), c.unreadable ? 1u : 0u);
        // After an unreadable file the closing save writes nothing.
        EXPECT_TRUE(parts.store.mayClose());
        if (c.unreadable) {
            EXPECT_EQ(disk.files["/given/quorrel.dat"], "집||TRUE||||||||TRUE||||\r\n");
        }
    }
}

TEST_F(FramePartsTest, AChosenAdapterMarksItsProfileOrIsTakenOverAsANewOne) {
    state.store.profileList.append(fixedProfile("사무실", "192.168.0.10").current());
    chooseFirstAdapter();
    EXPECT_EQ(names(), (std::vector<std::string>{"사무실", "설정[1] *"}));

    // Chosen again: now a profile describes it, and nothing more is added.
    chooseFirstAdapter();
    EXPECT_EQ(names(), (std::vector<std::string>{"사무실", "설정[1] *"}));

    // Without any adapter there is no picture and nothing to take over.
    inventory.clear();
    state.adapter.chosen(state.store.profileList);
    EXPECT_FALSE(state.adapter.currentSettings);
    EXPECT_EQ(names(), (std::vector<std::string>{"사무실", "설정[1]"}));
}

TEST_F(FramePartsTest, TheConfirmationShowsTheRowOrTheNamedProfile) {
    state.store.profileList.append(fixedProfile("사무실", "192.168.0.10").gateway("192.168.0.1"));
    state.store.profileList.append(dhcpProfile("집"));
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
        state.adapter.currentSettings.reset();
        if (c.withAdapter) {
            chooseFirstAdapter();
        }
        const auto confirmation = state.apply.confirmApply(c.name, &rows);
        ASSERT_EQ(confirmation.has_value(), c.ipText.has_value()) << c.what;
        EXPECT_EQ(messages.shown.size(), c.messages) << c.what;
        if (confirmation) {
            EXPECT_EQ(confirmation->adapterName, kAdapter) << c.what;
            EXPECT_EQ(confirmation->ipText, *c.ipText) << c.what;
        }
    }
}

TEST_F(FramePartsTest, ASuccessfulApplyMarksTheProfileAndReadsTheAdaptersAgain) {
    state.store.profileList.append(fixedProfile("사무실", "192.168.0.10").gateway("192.168.0.1"));
    chooseFirstAdapter();
    const std::optional<ApplyPlan> plan = state.apply.beginApply("사무실", nullptr);
    ASSERT_TRUE(plan);
    EXPECT_NE(plan->addressLine.find(kAdapter), std::string::npos);
    EXPECT_EQ(state.apply.applyBusy, 1);
    EXPECT_FALSE(state.apply.beginApply("사무실", nullptr)) << "one apply at a time";

    table.entries = {test::tableEntry("{A}", 0, "192.168.0.10", "255.255.255.0", "192.168.0.1")};
    state.apply.finishApply(true);

    EXPECT_EQ(state.apply.applyBusy, 0);
    EXPECT_EQ(state.apply.lastAppliedName, "사무실");
    EXPECT_EQ(names(), (std::vector<std::string>{"사무실 *", "설정[1]"}));
    ASSERT_TRUE(state.adapter.currentSettings);
    EXPECT_EQ(state.adapter.currentSettings->ipAddress, "192.168.0.10");
    EXPECT_EQ(traced, (std::vector<std::string>{"사무실"}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, texts::kApplyDoneText);
}

TEST_F(FramePartsTest, AFailedApplyChangesNothingButTellsTheUser) {
    state.store.profileList.append(fixedProfile("사무실", "192.168.0.10"));
    chooseFirstAdapter();
    ASSERT_TRUE(state.apply.beginApply("사무실", nullptr));
    table.entries.clear();
    state.apply.finishApply(false, "netsh: Not authorized to control networking");

    EXPECT_EQ(state.apply.applyBusy, 0);
    EXPECT_EQ(state.apply.lastAppliedName, "");
    EXPECT_EQ(names(), (std::vector<std::string>{"사무실", "설정[1] *"}));
    EXPECT_EQ(state.adapter.currentSettings->ipAddress, "10.1.1.5");
    EXPECT_TRUE(traced.empty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, texts::kApplyFailedText);
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Stop);
    // The reason goes beside the unchanged text, in the box's details.
    EXPECT_EQ(messages.shown[0].details, "netsh: Not authorized to control networking");
}

TEST_F(FramePartsTest, AnEditIsTakenOverAndTheProfileAppliedLastFollowsIt) {
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
        state.store.profileList.clear();
        state.store.profilesModified = 0;
        state.apply.lastAppliedName = c.lastApplied;
        IpProfile& listed =
            state.store.profileList.append(fixedProfile("Lab", "10.0.0.2").current());
        const EditOutcome outcome = state.commands.takeEdit(listed, c.edited);
        const bool changed = std::string(c.what) != "nothing changed";
        EXPECT_EQ(outcome.changed, changed) << c.what;
        EXPECT_EQ(outcome.reapply, c.reapply) << c.what;
        EXPECT_EQ(state.store.profilesModified, changed ? 1 : 0) << c.what;
        EXPECT_EQ(state.apply.lastAppliedName, c.lastAppliedAfter) << c.what;
        EXPECT_EQ(listed.name, c.edited.name) << c.what;
        EXPECT_EQ(listed.ipAddress, c.edited.ipAddress) << c.what;
        EXPECT_EQ(listed.isCurrent, 1) << c.what << ": the mark stays";
    }
}

TEST_F(FramePartsTest, DeleteRefusesTheProfileInUseAndAsksFirst) {
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
        state.store.profileList.clear();
        files.files.clear();
        messages.shown.clear();
        state.store.profileList.append(fixedProfile("Office", "10.0.0.1").current());
        state.store.profileList.append(fixedProfile("Lab", "10.0.0.2"));
        showRows({{"Office"}, {"Lab"}}, c.selectedRow);
        if (c.answer) {
            messages.answers = {*c.answer};
        }
        EXPECT_EQ(state.commands.deleteSelected(&rows), c.removed) << c.what;
        EXPECT_EQ(messages.shown.size(), c.messages) << c.what;
        EXPECT_EQ(state.store.profileList.size(), c.removed ? 1u : 2u) << c.what;
        EXPECT_EQ(dataFileWritten(), c.removed) << c.what;
    }
    EXPECT_EQ(names(), (std::vector<std::string>{"Office *"}));
}

TEST_F(FramePartsTest, ARenamedOrDeletedProfileTakesItsNetworkAlong) {
    const NetworkFingerprint office{"00:11:22:AA:BB:01", ""};
    const std::string networkFile = std::string(kFolder) + "quorrel.net";
    IpProfile& lab = state.store.profileList.append(fixedProfile("Lab", "10.0.0.2"));
    state.store.profileList.append(fixedProfile("Other", "10.0.0.3"));
    state.store.rememberNetwork("Lab", office, NetworkMemory::Moment::Applied);
    EXPECT_EQ(files.files[networkFile], "Lab||00:11:22:AA:BB:01||\r\n");
    // A profile that is not listed remembers nothing.
    state.store.rememberNetwork("Gone", {"00:11:22:AA:BB:02", ""}, NetworkMemory::Moment::Applied);
    EXPECT_EQ(state.store.networks.entries().size(), 1u);

    state.commands.takeEdit(lab, fixedProfile("Office", "10.0.0.2"));
    EXPECT_EQ(files.files[networkFile], "Office||00:11:22:AA:BB:01||\r\n");

    showRows({{"Office"}, {"Other"}}, 0);
    messages.answers = {MessageResult::Ok};
    ASSERT_TRUE(state.commands.deleteSelected(&rows));
    EXPECT_EQ(files.files[networkFile], "");
    EXPECT_EQ(state.store.networks.recognise(office), nullptr);
}

TEST_F(FramePartsTest, CopiesAndNewProfilesJoinTheList) {
    state.store.profileList.append(dhcpProfile("집").current());
    EXPECT_FALSE(state.commands.copySelected(&rows)) << "no row shown";
    showRows({{"집"}}, 0);
    EXPECT_TRUE(state.commands.copySelected(&rows));
    state.commands.addProfile(fixedProfile("Cafe", "10.0.0.7"));
    EXPECT_EQ(state.store.profilesModified, 1);
    EXPECT_EQ(names(), (std::vector<std::string>{"집 *", "집[1]", "Cafe"}));
}

TEST_F(FramePartsTest, AFailedSaveNamesTheFileAndKeepsTheChangeOpen) {
    files.unwritable[state.store.dataFilePath()] = true;
    state.commands.addProfile(dhcpProfile("집"));
    state.store.saveIfModified();
    EXPECT_EQ(state.store.profilesModified, 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(state.store.dataFilePath()), std::string::npos);

    // Closing asks whether to close anyway; No keeps the window.
    messages.answers = {MessageResult::No};
    EXPECT_FALSE(state.store.mayClose());
    files.unwritable.clear();
    EXPECT_TRUE(state.store.mayClose());
    EXPECT_EQ(state.store.profilesModified, 0);
    EXPECT_TRUE(dataFileWritten());
}

TEST_F(FramePartsTest, OfTwoNamesakesTheCommandsTakeTheSelectedRowsOwnRecord) {
    IpProfile& first = state.store.profileList.append(fixedProfile("집", "10.0.0.1"));
    IpProfile& second = state.store.profileList.append(fixedProfile("집", "10.0.0.2"));
    state.store.profileList.append(fixedProfile("Lab", "10.0.0.3"));
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
        EXPECT_EQ(selectedProfile(state.store.profileList, &rows), c.found) << c.what;
    }

    rows.positions = {2, 1, 0};
    ASSERT_TRUE(state.commands.copySelected(&rows));
    EXPECT_EQ(std::prev(state.store.profileList.end())->ipAddress, "10.0.0.2");

    // The apply confirms, runs and marks the selected record, not the first of its name.
    chooseFirstAdapter();
    const auto confirmation = state.apply.confirmApply(std::nullopt, &rows);
    ASSERT_TRUE(confirmation);
    EXPECT_EQ(confirmation->ipText, "10.0.0.2");
    const std::optional<ApplyPlan> plan = state.apply.beginApply(std::nullopt, &rows);
    ASSERT_TRUE(plan);
    EXPECT_NE(plan->addressLine.find("10.0.0.2"), std::string::npos);
    state.apply.finishApply(true);
    EXPECT_EQ(first.isCurrent, 0);
    EXPECT_EQ(second.isCurrent, 1);

    // A listed record given by itself (the edit's re-apply) is the one applied.
    ASSERT_TRUE(state.apply.confirmApply(&first, nullptr));
    ASSERT_TRUE(state.apply.beginApply(&first, nullptr));
    state.apply.finishApply(true);
    EXPECT_EQ(first.isCurrent, 1);
    EXPECT_EQ(second.isCurrent, 0);

    // Delete removes the selected record and keeps its namesake, which is not in use now.
    messages.answers = {MessageResult::Ok};
    rows.selected = 1;
    EXPECT_TRUE(state.commands.deleteSelected(&rows));
    std::vector<std::string> left;
    for (const IpProfile& p : state.store.profileList) {
        left.push_back(p.name + " " + p.ipAddress);
    }
    // 설정[1] took over the adapter's configuration, obtained by DHCP.
    EXPECT_EQ(left, (std::vector<std::string>{"집 10.0.0.1", "Lab 10.0.0.3", "집[1] 10.0.0.2",
                                              "설정[1] "}));
}

TEST_F(FramePartsTest, AnAdapterNameTheLinesCannotCarryIsRefusedBeforeTheConfirmation) {
    state.store.profileList.append(fixedProfile("사무실", "192.168.0.10"));
    chooseFirstAdapter();
    state.adapter.currentSettings->connectionName = "lan\"0";
    for (const std::optional<std::string>& name :
         {std::optional<std::string>("사무실"), std::optional<std::string>()}) {
        messages.shown.clear();
        showRows({{"사무실", "192.168.0.10"}}, 0);
        EXPECT_FALSE(state.apply.confirmApply(name, &rows));
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].caption, texts::kUnusableAdapterCaption);
        EXPECT_NE(messages.shown[0].text.find("lan\"0"), std::string::npos);
        EXPECT_EQ(state.apply.applyBusy, 0);
    }
}

TEST_F(FramePartsTest, AnUnreadableDataFileIsNamedOnceAndNeverSavedOver) {
    const std::string path = state.store.dataFilePath();
    files.files[path] = "집||TRUE||||||||TRUE||||\r\n";
    files.unreadable[path] = "Permission denied";
    EXPECT_EQ(state.store.loadProfiles(), 0);
    EXPECT_TRUE(state.store.profileList.empty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(path), std::string::npos);
    EXPECT_NE(messages.shown[0].text.find("Permission denied"), std::string::npos);

    // Neither a command's save nor the closing one writes, and nothing more is said.
    files.unreadable.clear();
    state.commands.addProfile(dhcpProfile("새 설정"));
    EXPECT_EQ(state.store.saveProfiles(), 0);
    state.store.saveIfModified();
    EXPECT_TRUE(state.store.mayClose());
    EXPECT_EQ(files.files[path], "집||TRUE||||||||TRUE||||\r\n");
    EXPECT_EQ(messages.shown.size(), 1u);
}

}  // namespace
}  // namespace quorrel
