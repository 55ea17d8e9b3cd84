// The watch on Linux: rtnetlink tells of every change to the links and IPv4 routes of this
// network namespace (NetworkManager configures what it manages the same way, so its links
// are heard too), and a snapshot after each burst of messages says whether the adapter's
// link came up or its default gateway changed.

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <net/if.h>

#include <cstdint>
#include <thread>

#include "platform/NetworkWatch.h"
#include "platform/linux/NetlinkSnapshot.h"

namespace quorrel::platform {

namespace {

// What the watch compares from one snapshot to the next.
struct LinkPicture {
    int index = 0;
    bool up = false;            // IFF_UP and IFF_RUNNING: switched on, with a carrier
    std::uint32_t gateway = 0;  // the first default route's, 0 without one
    bool operator==(const LinkPicture&) const = default;
};

bool isUp(unsigned flags) {
    return (flags & IFF_UP) != 0 && (flags & IFF_RUNNING) != 0;
}

LinkPicture pictureOf(const std::string& ifname) {
    LinkPicture picture;
    const Expected<NetlinkSnapshot> snapshot = readNetlinkSnapshot();
    if (!snapshot) {
        return picture;
    }
    if (const NetlinkLink* link = snapshot->findLink(ifname)) {
        picture.index = link->index;
        picture.up = isUp(link->flags);
        if (const NetlinkRoute* route = snapshot->firstDefaultRoute(link->index)) {
            picture.gateway = route->gateway;
        }
    }
    return picture;
}

// A network worth a look: a link with a carrier and a gateway, which either was not up
// before or had another gateway.

// Whether one of the link messages in `buffer` shows the interface `index` down: a carrier
// lost and found again within one burst still counts as a move.
bool sawDown(const char* buffer, std::size_t size, int index) {
    auto length = static_cast<unsigned int>(size);
    for (auto* header = reinterpret_cast<const nlmsghdr*>(buffer); NLMSG_OK(header, length);
         header = NLMSG_NEXT(header, length)) {
        if (header->nlmsg_type != RTM_NEWLINK ||
            header->nlmsg_len < NLMSG_LENGTH(sizeof(ifinfomsg))) {
            continue;
        }
        const auto* info = static_cast<const ifinfomsg*>(NLMSG_DATA(header));
        if (info->ifi_index == index && !isUp(info->ifi_flags)) {
            return true;
        }
    }
    return false;
}

bool movedOn(const LinkPicture& before, const LinkPicture& now) {
    return now.up && now.gateway != 0 && (!before.up || before.gateway != now.gateway);
}

class LinuxNetworkWatch final : public NetworkWatch {
public:
    LinuxNetworkWatch(system::OwnedFd changes, system::OwnedFd stop, std::string ifname,
                      std::function<void()> changed)
        : changes_(std::move(changes)), stop_(std::move(stop)) {
        // Taken here, so that what is already so when the watch begins does not count.
        LinkPicture before = pictureOf(ifname);
        thread_ = std::thread(
            [this, ifname = std::move(ifname), changed = std::move(changed), before]() mutable {
                for (;;) {
                    pollfd waits[2] = {{changes_.get(), POLLIN, 0}, {stop_.get(), POLLIN, 0}};
                    if (::poll(waits, 2, -1) < 0 || waits[1].revents != 0) {
                        return;
                    }
                    alignas(nlmsghdr) char buffer[16384];
                    for (;;) {
                        const ssize_t got = ::recv(changes_.get(), buffer, sizeof buffer, 0);
                        if (got <= 0) {
                            break;
                        }
                        if (sawDown(buffer, static_cast<std::size_t>(got), before.index)) {
                            before.up = false;
                        }
                    }
                    const LinkPicture now = pictureOf(ifname);
                    if (movedOn(before, now)) {
                        changed();
                    }
                    before = now;
                }
            });
    }
    ~LinuxNetworkWatch() override {
        // An eventfd's counter takes a 1 whenever it is below its maximum.
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(stop_.get(), &one, sizeof one);
        thread_.join();
    }
    LinuxNetworkWatch(const LinuxNetworkWatch&) = delete;
    LinuxNetworkWatch& operator=(const LinuxNetworkWatch&) = delete;

private:
    system::OwnedFd changes_;
    system::OwnedFd stop_;
    std::thread thread_;
};

}  // namespace

std::unique_ptr<NetworkWatch> watchSystemNetwork(const std::string& connectionName,
                                                 std::function<void()> changed) {
    Expected<system::OwnedFd> changes = openNetlinkChanges();
    if (!changes) {
        return nullptr;
    }
    system::OwnedFd stop(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!stop.valid()) {
        return nullptr;
    }
    return std::make_unique<LinuxNetworkWatch>(std::move(*changes), std::move(stop), connectionName,
                                               std::move(changed));
}

}  // namespace quorrel::platform
