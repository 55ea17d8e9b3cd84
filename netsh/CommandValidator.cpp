#include "netsh/CommandValidator.h"

#include "netsh/Ipv4.h"
#include "netsh/MessageQuote.h"

namespace quorrel::netsh {

std::string checkDnsServer(const std::string& text) {
    const auto server = parseIpv4(text);
    if (!server) {
        return quoteForMessage(text) + " is not a valid IPv4 address";
    }
    if (*server == 0 || (*server >> 24) >= 224) {
        return text + " cannot be a DNS server";
    }
    return "";
}

std::string checkFixedAddress(const std::string& addressText, const std::string& maskText,
                              const std::string& gatewayText) {
    const auto address = parseIpv4(addressText);
    if (!address) {
        return quoteForMessage(addressText) + " is not a valid IPv4 address";
    }
    const auto mask = parseIpv4(maskText);
    const auto prefix = mask ? prefixLengthOf(*mask) : std::nullopt;
    if (!prefix || *prefix == 0) {
        return quoteForMessage(maskText) + " is not a valid subnet mask";
    }
    if (!isUnicastHostAddress(*address)) {
        return addressText + " cannot be the address of an interface";
    }
    const std::uint32_t network = *address & *mask;
    const std::uint32_t broadcast = network | ~*mask;
    auto isNetworkOrBroadcast = [&](std::uint32_t a) {
        return *prefix <= 30 && (a == network || a == broadcast);
    };
    if (isNetworkOrBroadcast(*address)) {
        return addressText + " is the network or broadcast address of its subnet";
    }
    if (gatewayText.empty()) {
        return "";
    }
    const auto gateway = parseIpv4(gatewayText);
    if (!gateway) {
        return quoteForMessage(gatewayText) + " is not a valid IPv4 address";
    }
    if (!isUnicastHostAddress(*gateway) || isNetworkOrBroadcast(*gateway)) {
        return gatewayText + " cannot be a gateway";
    }
    if ((*gateway & *mask) != network) {
        return "the gateway " + gatewayText + " is not in the subnet of " + addressText + " mask " +
               maskText;
    }
    if (*gateway == *address) {
        return "the gateway cannot be the interface's own address";
    }
    return "";
}

namespace {

// Sets `number` from `text`, when there is one, if it is a number from `low` to `high`;
// otherwise says what `what` must be.
std::string checkNumber(const std::optional<std::string>& text, int low, int high,
                        const std::string& what, std::optional<int>& number) {
    if (!text) {
        return "";
    }
    number = parseBoundedNumber(*text, low, high);
    if (number) {
        return "";
    }
    return what + " must be a number from " + std::to_string(low) + " to " + std::to_string(high) +
           ", not " + quoteForMessage(*text);
}

std::string checkStaticAddress(NetshCommand& command) {
    if (auto problem = checkFixedAddress(command.address, command.mask, command.gateway);
        !problem.empty() || command.gateway.empty()) {
        return problem;
    }
    return checkNumber(command.gatewayMetricText, 0, 9999, "the gateway metric",
                       command.gatewayMetric);
}

std::string checkAddedDns(NetshCommand& command) {
    if (auto problem = checkDnsServer(command.address); !problem.empty()) {
        return problem;
    }
    return checkNumber(command.indexText, 1, 999, "the index", command.index);
}

std::string problemOf(NetshCommand& command, const InterfaceProbe& interfaces) {
    if (!interfaces.exists(command.interfaceName)) {
        return "the interface " + quoteForMessage(command.interfaceName) + " does not exist";
    }
    // Its address is the machine's own 127.0.0.1: taking it away breaks every local service.
    if (interfaces.isLoopback(command.interfaceName)) {
        return "the interface " + quoteForMessage(command.interfaceName) +
               " is the loopback interface and cannot be configured";
    }
    switch (command.action) {
        case NetshAction::SetAddress:
            return command.dhcp ? "" : checkStaticAddress(command);
        case NetshAction::SetDns:
            return command.dhcp || command.address.empty() ? "" : checkDnsServer(command.address);
        case NetshAction::AddDns:
            return checkAddedDns(command);
    }
    return "unknown command";
}

}  // namespace

std::optional<int> parseBoundedNumber(const std::string& text, int low, int high) {
    if (text.empty() || text.size() > 9) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

Expected<NetshCommand> validateCommand(NetshCommand command, const InterfaceProbe& interfaces) {
    command.gatewayMetric.reset();
    command.index.reset();
    if (auto problem = problemOf(command, interfaces); !problem.empty()) {
        return failure(std::move(problem));
    }
    return command;
}

}  // namespace quorrel::netsh
