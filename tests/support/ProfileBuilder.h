#pragma once

#include <string>
#include <utility>

#include "profiles/IpProfile.h"

namespace quorrel::test {

// The profiles of the tests, built from a start and the fields a test cares about:
//     fixedProfile("사무실", "10.0.0.5").gateway("10.0.0.1").dns("10.0.0.53")
//     dhcpProfile("집")                          address and DNS obtained automatically
//     dhcpProfile("집").dns("168.126.63.1")      address obtained, DNS server set by hand
// Whatever is not named stays empty (and 0). The builder stands wherever an IpProfile is
// expected.
class ProfileBuilder {
public:
    explicit ProfileBuilder(std::string name) { profile_.name = std::move(name); }

    ProfileBuilder& gateway(std::string address) {
        profile_.gateway = std::move(address);
        return *this;
    }
    // DNS servers set by hand, which also ends automatic DNS.
    ProfileBuilder& dns(std::string primary, std::string secondary = "") {
        profile_.dnsAuto = 0;
        profile_.primaryDns = std::move(primary);
        profile_.secondaryDns = std::move(secondary);
        return *this;
    }
    // The in-use mark.
    ProfileBuilder& current() {
        profile_.isCurrent = 1;
        return *this;
    }
    // The adapter fields of a picture of an adapter (currentSettings).
    ProfileBuilder& adapter(std::string connectionName, std::string macAddress = "") {
        profile_.connectionName = std::move(connectionName);
        profile_.macAddress = std::move(macAddress);
        return *this;
    }

    operator IpProfile() const { return profile_; }
    IpProfile build() const { return profile_; }

private:
    friend ProfileBuilder fixedProfile(std::string, std::string, std::string);
    friend ProfileBuilder dhcpProfile(std::string);

    IpProfile profile_;
};

// A fixed address with its subnet mask; no gateway, no DNS server.
inline ProfileBuilder fixedProfile(std::string name, std::string ip,
                                   std::string mask = "255.255.255.0") {
    ProfileBuilder builder(std::move(name));
    builder.profile_.ipAddress = std::move(ip);
    builder.profile_.subnetMask = std::move(mask);
    return builder;
}

// Address and DNS servers obtained automatically.
inline ProfileBuilder dhcpProfile(std::string name) {
    ProfileBuilder builder(std::move(name));
    builder.profile_.useDhcp = 1;
    builder.profile_.dnsAuto = 1;
    return builder;
}

}  // namespace quorrel::test
