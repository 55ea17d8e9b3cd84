#include "ipconfig/AdapterReport.h"

#include <cstdio>

#include "resources/IpconfigTexts.h"

namespace quorrel::ipconfig {

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr std::size_t kIndent = 3;
// Column of the colon; values start two columns further on.
constexpr std::size_t kColonColumn = 33;

bool isWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6);
}

// Names and descriptions come from the system; a control character in one must not break
// the report's lines.
std::string printable(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            c = '?';
        }
    }
    return out;
}

const char* headingOf(AdapterKind kind) {
    switch (kind) {
        case AdapterKind::Ethernet:
            return texts::kIpconfigEthernetAdapter;
        case AdapterKind::Wireless:
            return texts::kIpconfigWirelessAdapter;
        case AdapterKind::Other:
            break;
    }
    return texts::kIpconfigOtherAdapter;
}

class ReportWriter {
public:
    void line(std::string_view text = {}) {
        text_ += text;
        text_ += kLineEnd;
    }

    void labelled(std::string_view label, std::string_view value) {
        line(labelledLine(label, printable(value)));
    }

    // The first value on the labelled line, the others below it in the value column.
    void labelledList(std::string_view label, const std::vector<std::string>& values) {
        if (values.empty()) {
            return;
        }
        labelled(label, values.front());
        for (std::size_t i = 1; i < values.size(); ++i) {
            line(std::string(kColonColumn + 2, ' ') + printable(values[i]));
        }
    }

    void adapter(const AdapterFacts& facts) {
        line(std::string(headingOf(facts.kind)) + " " + printable(facts.connectionName) + ":");
        line();
        if (!facts.mediaConnected) {
            labelled(texts::kIpconfigMediaState, texts::kIpconfigMediaDisconnected);
        }
        if (!facts.description.empty()) {
            labelled(texts::kIpconfigDescription, facts.description);
        }
        if (!facts.hardwareAddress.empty()) {
            labelled(texts::kIpconfigPhysicalAddress, physicalAddressText(facts.hardwareAddress));
        }
        labelled(texts::kIpconfigDhcpEnabled,
                 facts.dhcpEnabled ? texts::kIpconfigYes : texts::kIpconfigNo);
        if (facts.mediaConnected) {
            addresses(facts);
        }
        line();
    }

    std::string take() { return std::move(text_); }

private:
    void addresses(const AdapterFacts& facts) {
        const LeaseFacts* lease = nullptr;
        if (facts.dhcpEnabled && facts.lease) {
            lease = &*facts.lease;
        }
        if (!facts.ipAddress.empty()) {
            labelled(texts::kIpconfigIpv4Address, facts.ipAddress);
            labelled(texts::kIpconfigSubnetMask, facts.subnetMask);
        }
        if (lease != nullptr) {
            leaseTime(texts::kIpconfigLeaseObtained, lease->obtained);
            leaseTime(texts::kIpconfigLeaseExpires, lease->expires);
        }
        labelled(texts::kIpconfigDefaultGateway, facts.gateway);
        if (lease != nullptr && !lease->server.empty()) {
            labelled(texts::kIpconfigDhcpServer, lease->server);
        }
        labelledList(texts::kIpconfigDnsServers, facts.dnsServers);
    }

    void leaseTime(std::string_view label, std::int64_t seconds) {
        if (seconds == 0) {
            return;
        }
        if (const std::string text = koreanLocalDateTime(seconds); !text.empty()) {
            labelled(label, text);
        }
    }

    std::string text_;
};

}  // namespace

std::size_t displayWidth(std::string_view text) {
    std::size_t width = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        char32_t c = lead;
        if (lead >= 0xF0 && lead < 0xF8) {
            length = 4;
            c = lead & 0x07;
        } else if (lead >= 0xE0) {
            length = 3;
            c = lead & 0x0F;
        } else if (lead >= 0xC0) {
            length = 2;
            c = lead & 0x1F;
        }
        if (length > 1) {
            if (i + length > text.size()) {
                length = 1;  // a cut-off sequence: one column per byte
                c = 0;
            } else {
                for (std::size_t k = 1; k < length; ++k) {
                    c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
                }
            }
        }
        width += isWide(c) ? 2u : 1u;
        i += length;
    }
    return width;
}

std::string labelledLine(std::string_view label, std::string_view value) {
    std::string line(kIndent, ' ');
    line += label;
    // The leader's dots stand in every other column, in the same columns on every line.
    for (std::size_t column = kIndent + displayWidth(label); column + 1 < kColonColumn; ++column) {
        line += column % 2 == 1 ? '.' : ' ';
    }
    line += " :";
    if (!value.empty()) {
        line += ' ';
        line += value;
    }
    return line;
}

std::string physicalAddressText(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    for (const std::uint8_t byte : bytes) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02X", static_cast<unsigned>(byte));
        if (!text.empty()) {
            text += '-';
        }
        text += pair;
    }
    return text;
}

std::string koreanDateTime(const std::tm& time) {
    const int hour12 = time.tm_hour % 12 == 0 ? 12 : time.tm_hour % 12;
    const int weekday = time.tm_wday >= 0 && time.tm_wday < 7 ? time.tm_wday : 0;
    char text[128];
    std::snprintf(text, sizeof text, texts::kIpconfigDateTimeFormat, time.tm_year + 1900,
                  time.tm_mon + 1, time.tm_mday, texts::kIpconfigWeekdays[weekday],
                  time.tm_hour < 12 ? texts::kIpconfigMorning : texts::kIpconfigAfternoon, hour12,
                  time.tm_min, time.tm_sec);
    return text;
}

std::string koreanLocalDateTime(std::int64_t secondsSinceEpoch) {
    const auto seconds = static_cast<std::time_t>(secondsSinceEpoch);
    if (static_cast<std::int64_t>(seconds) != secondsSinceEpoch) {
        return {};
    }
    std::tm local{};
    if (::localtime_r(&seconds, &local) == nullptr) {
        return {};
    }
    return koreanDateTime(local);
}

std::string formatAdapterReport(const ReportFacts& facts) {
    ReportWriter report;
    report.line();
    report.line(texts::kIpconfigTitle);
    report.line();
    report.labelled(texts::kIpconfigHostName, facts.hostName);
    report.line();
    for (const AdapterFacts& adapter : facts.adapters) {
        report.adapter(adapter);
    }
    return report.take();
}

}  // namespace quorrel::ipconfig
