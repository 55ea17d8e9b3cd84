#pragma once

#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "adapters/AdapterInfo.h"
#include "base/MessagePresenter.h"
#include "platform/AdapterKeys.h"
#include "platform/AdapterTable.h"

namespace quorrel {

// The program's picture of the machine's adapters, one record per adapter in the order the
// platform reports them, and the user's choice among them. Records are only ever appended;
// clear() destroys them all, so pointers into the records are taken afresh after every
// enumeration.
class AdapterInventory {
public:
    AdapterInventory(platform::AdapterTable& table, platform::AdapterKeys& keys,
                     MessagePresenter& messages);

    // Appends one record per adapter the platform reports. Returns 1, or 0 when the
    // platform reports no adapter (after telling the user; the list stays empty).
    int enumerate();

    // Destroys every record.
    void clear();

    // Sets `selected` to 0 on every record. Always 1.
    int clearSelection();

    // Marks the first record whose connection name equals selectedName(), or the first
    // record when none does; selectedName() is kept either way.
    void markSelected();

    // Takes the first record's connection name as selectedName(); no effect when empty.
    // Always 1.
    int selectFirst();

    const std::string& selectedName() const { return selectedName_; }
    void setSelectedName(std::string name) { selectedName_ = std::move(name); }

    // The records in platform order; the front is the first record.
    const std::list<AdapterInfo>& records() const { return records_; }
    bool empty() const { return records_.empty(); }

    // The first record with `selected` 1, or nullptr.
    const AdapterInfo* selectedRecord() const;

    // How often enumerate() asks again when the table keeps growing between its two calls.
    static constexpr int kMaxFetchAttempts = 8;

private:
    bool fetchTable(std::vector<platform::AdapterTableEntry>& entries);
    void reportNoAdapter();
    void readNameServer(platform::AdapterKey& key, AdapterInfo& record);

    platform::AdapterTable& table_;
    platform::AdapterKeys& keys_;
    MessagePresenter& messages_;
    std::list<AdapterInfo> records_;
    std::string selectedName_;
};

// "00:0C:29:AB:CD:EF": two upper-case hexadecimal digits per byte, joined by colons.
std::string formatMacAddress(const std::vector<std::uint8_t>& bytes);

}  // namespace quorrel
