#include "profiles/ProfileList.h"

#include <atomic>
#include <iterator>
#include <utility>

namespace quorrel {

namespace {

std::size_t nextVersion() {
    static std::atomic<std::size_t> last{0};
    return ++last;
}

}  // namespace

ProfileList::ProfileList(const ProfileList& other) : records_(other.records_) {
    changed();
}

ProfileList::ProfileList(ProfileList&& other) noexcept : records_(std::move(other.records_)) {
    changed();
    other.changed();
}

ProfileList& ProfileList::operator=(const ProfileList& other) {
    if (this != &other) {
        records_ = other.records_;
        changed();
    }
    return *this;
}

ProfileList& ProfileList::operator=(ProfileList&& other) noexcept {
    if (this != &other) {
        records_ = std::move(other.records_);
        changed();
        other.changed();
    }
    return *this;
}

void ProfileList::changed() {
    version_ = nextVersion();
}

void ProfileList::appendAll(ProfileList&& other) {
    if (other.records_.empty()) {
        return;
    }
    records_.splice(records_.end(), other.records_);
    changed();
    other.changed();
}

IpProfile& ProfileList::append(const IpProfile& source) {
    return append(IpProfile(source));
}

IpProfile& ProfileList::append(IpProfile&& source) {
    // Taken over whole and then normalised where it lies: one move of the texts.
    IpProfile& record = records_.emplace_back(std::move(source));
    record.connectionName.clear();
    record.macAddress.clear();
    if (record.useDhcp != 0) {
        record.ipAddress.clear();
        record.subnetMask.clear();
        record.gateway.clear();
    }
    if (record.dnsAuto != 0) {
        record.primaryDns.clear();
        record.secondaryDns.clear();
    }
    changed();
    return record;
}

bool ProfileList::removeMatching(const IpProfile& profile) {
    for (auto it = records_.begin(); it != records_.end(); ++it) {
        if (it->name == profile.name && it->ipAddress == profile.ipAddress &&
            it->subnetMask == profile.subnetMask && it->gateway == profile.gateway &&
            it->primaryDns == profile.primaryDns && it->secondaryDns == profile.secondaryDns) {
            records_.erase(it);
            changed();
            return true;
        }
    }
    return false;
}

bool ProfileList::remove(const IpProfile* record) {
    for (auto it = records_.begin(); it != records_.end(); ++it) {
        if (&*it == record) {
            records_.erase(it);
            changed();
            return true;
        }
    }
    return false;
}

IpProfile* ProfileList::at(std::size_t position) {
    if (position >= records_.size()) {
        return nullptr;
    }
    return &*std::next(records_.begin(), static_cast<std::ptrdiff_t>(position));
}

IpProfile* ProfileList::findByName(std::string_view name) {
    for (auto& record : records_) {
        if (record.name == name) {
            return &record;
        }
    }
    return nullptr;
}

const IpProfile* ProfileList::findByName(std::string_view name) const {
    return const_cast<ProfileList*>(this)->findByName(name);
}

void ProfileList::clearCurrentMarks() {
    for (auto& record : records_) {
        record.isCurrent = 0;
    }
}

}  // namespace quorrel
