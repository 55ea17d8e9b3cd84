#pragma once

#include <cstddef>
#include <list>
#include <string_view>

#include "profiles/IpProfile.h"

namespace quorrel {

// The ordered list of all profiles, in insertion order (which is the data file's order).
// It owns its records; a record's address stays valid while others are added or removed.
class ProfileList {
public:
    using const_iterator = std::list<IpProfile>::const_iterator;
    using iterator = std::list<IpProfile>::iterator;

    ProfileList() = default;
    ProfileList(const ProfileList& other);
    ProfileList(ProfileList&& other) noexcept;
    ProfileList& operator=(const ProfileList& other);
    ProfileList& operator=(ProfileList&& other) noexcept;
    ~ProfileList() = default;

    // Adds a normalised copy at the end: a DHCP profile keeps no address texts, a
    // DNS-automatic one no DNS texts, and the adapter fields are never copied.
    IpProfile& append(const IpProfile& source);
    // The same, taking the texts over from `source`.
    IpProfile& append(IpProfile&& source);

    // Moves every record of `other`, which it normalised when it took them, to the end in
    // their order, without copying them; `other` ends empty.
    void appendAll(ProfileList&& other);

    // Removes the first record equal to `profile` in name and the five address texts.
    // Returns whether a record was removed.
    bool removeMatching(const IpProfile& profile);

    // Removes this very record (compared by address). Returns whether it was in the list.
    bool remove(const IpProfile* record);

    // The record at `position` in list order, or nullptr past the end.
    IpProfile* at(std::size_t position);

    // First record with exactly this name, or nullptr.
    IpProfile* findByName(std::string_view name);
    const IpProfile* findByName(std::string_view name) const;

    void clearCurrentMarks();

    bool empty() const { return records_.empty(); }
    std::size_t size() const { return records_.size(); }
    void clear() {
        records_.clear();
        changed();
    }

    // Changes whenever a record is added or removed or the list is assigned, and differs
    // between lists: while it stays, the records that a reader holds the addresses of are
    // all still there.
    std::size_t version() const { return version_; }

    iterator begin() { return records_.begin(); }
    iterator end() { return records_.end(); }
    const_iterator begin() const { return records_.begin(); }
    const_iterator end() const { return records_.end(); }

private:
    void changed();

    std::list<IpProfile> records_;
    std::size_t version_ = 0;
};

}  // namespace quorrel
