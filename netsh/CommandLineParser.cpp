#include "netsh/CommandLineParser.h"

#include <algorithm>
#include <map>

#include "netsh/MessageQuote.h"

namespace quorrel::netsh {

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return text;
}

// A value given inside a matching pair of double quotes loses them.
std::string unquoted(const std::string& text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

// Tag spellings and the parameter they name.
std::string canonicalTag(const std::string& tag) {
    if (tag == "addr" || tag == "address") {
        return "address";
    }
    return tag;
}

ParseOutcome failure(std::string message) {
    ParseOutcome outcome;
    outcome.error = std::move(message);
    return outcome;
}

bool isRegisterValue(const std::string& value) {
    const std::string v = lower(value);
    return v == "none" || v == "primary" || v == "both";
}

}  // namespace

std::string usageText() {
    return "Usage:\n"
           "  netsh interface ip set address [name=]NAME [source=]dhcp\n"
           "  netsh interface ip set address [name=]NAME [source=]static [addr=]ADDRESS "
           "[mask=]MASK [[gateway=]GATEWAY|none [[gwmetric=]METRIC]]\n"
           "  netsh interface ip set dns [name=]NAME [source=]dhcp\n"
           "  netsh interface ip set dns [name=]NAME [source=]static [[addr=]SERVER|none] "
           "[[register=]none|primary|both]\n"
           "  netsh interface ip add dns [name=]NAME [addr=]SERVER [[index=]POSITION]\n";
}

ParseOutcome parseCommandLine(const std::vector<std::string>& args) {
    if (args.size() < 4) {
        return failure("incomplete command");
    }
    const std::string context = lower(args[0]);
    const std::string family = lower(args[1]);
    const std::string verb = lower(args[2]);
    const std::string object = lower(args[3]);
    if (context != "interface" && context != "int") {
        return failure("unknown command " + quoteForMessage(args[0]));
    }
    if (family != "ip" && family != "ipv4") {
        return failure("unknown context " + quoteForMessage(args[1]));
    }

    NetshCommand command;
    std::vector<std::string> parameters;
    const bool isDnsObject = object == "dns" || object == "dnsserver" || object == "dnsservers";
    if (verb == "set" && object == "address") {
        command.action = NetshAction::SetAddress;
        parameters = {"name", "source", "address", "mask", "gateway", "gwmetric"};
    } else if (verb == "set" && isDnsObject) {
        command.action = NetshAction::SetDns;
        parameters = {"name", "source", "address", "register"};
    } else if (verb == "add" && isDnsObject) {
        command.action = NetshAction::AddDns;
        parameters = {"name", "address", "index"};
    } else {
        return failure("unsupported command " + quoteForMessage(args[2] + " " + args[3]));
    }

    std::map<std::string, std::string> values;
    auto given = [&values](const std::string& p) { return values.count(p) != 0; };
    for (std::size_t i = 4; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto eq = arg.find('=');
        if (eq != std::string::npos && eq > 0) {
            const std::string tag = canonicalTag(lower(arg.substr(0, eq)));
            if (std::find(parameters.begin(), parameters.end(), tag) == parameters.end()) {
                return failure("unknown parameter " + quoteForMessage(arg.substr(0, eq)));
            }
            if (given(tag)) {
                return failure("parameter " + quoteForMessage(arg.substr(0, eq)) +
                               " is given twice");
            }
            values[tag] = unquoted(arg.substr(eq + 1));
            continue;
        }
        const auto next = std::find_if(parameters.begin(), parameters.end(),
                                       [&given](const std::string& p) { return !given(p); });
        if (next == parameters.end()) {
            return failure("unexpected argument " + quoteForMessage(arg));
        }
        if (command.action == NetshAction::SetDns && *next == "address" && isRegisterValue(arg)) {
            // "static primary": no server given, the word is the register value.
            values["address"] = "";
            if (lower(arg) != "none") {
                values["register"] = arg;
            }
            continue;
        }
        values[*next] = unquoted(arg);
    }

    command.interfaceName = values["name"];
    if (command.interfaceName.empty()) {
        return failure("no interface name given");
    }

    if (command.action != NetshAction::AddDns) {
        if (!given("source")) {
            return failure("source= is missing (dhcp or static)");
        }
        const std::string source = lower(values["source"]);
        if (source != "dhcp" && source != "static") {
            return failure("source must be dhcp or static, not " +
                           quoteForMessage(values["source"]));
        }
        command.dhcp = source == "dhcp";
    }
    if (given("register") && !isRegisterValue(values["register"])) {
        return failure("register must be none, primary or both, not " +
                       quoteForMessage(values["register"]));
    }

    switch (command.action) {
        case NetshAction::SetAddress:
            if (command.dhcp) {
                if (given("address") || given("mask") || given("gateway") || given("gwmetric")) {
                    return failure("addr, mask and gateway cannot be given with source=dhcp");
                }
                break;
            }
            if (!given("address") || values["address"].empty()) {
                return failure("addr= is missing");
            }
            if (!given("mask") || values["mask"].empty()) {
                return failure("mask= is missing");
            }
            command.address = values["address"];
            command.mask = values["mask"];
            command.gateway = lower(values["gateway"]) == "none" ? "" : values["gateway"];
            if (given("gwmetric")) {
                if (command.gateway.empty()) {
                    return failure("gwmetric needs a gateway");
                }
                command.gatewayMetricText = values["gwmetric"];
            }
            break;
        case NetshAction::SetDns:
            if (command.dhcp) {
                if (given("address") && !values["address"].empty() &&
                    lower(values["address"]) != "none") {
                    return failure("a DNS server cannot be given with source=dhcp");
                }
                break;
            }
            command.address = lower(values["address"]) == "none" ? "" : values["address"];
            break;
        case NetshAction::AddDns:
            if (!given("address") || values["address"].empty()) {
                return failure("addr= is missing");
            }
            command.address = values["address"];
            if (given("index")) {
                command.indexText = values["index"];
            }
            break;
    }
    ParseOutcome outcome;
    outcome.command = command;
    return outcome;
}

}  // namespace quorrel::netsh
