#include "platform/DnsMessage.h"

#include <cstring>

namespace quorrel::platform {

namespace {

constexpr std::size_t kHeaderSize = 12;
constexpr std::size_t kMaxLabel = 63;
constexpr std::size_t kMaxName = 255;
constexpr std::uint16_t kClassIn = 1;
constexpr std::uint8_t kRecursionDesired = 0x01;  // in the third header byte
constexpr std::uint8_t kReplyBit = 0x80;          // in the third header byte

void putU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

std::uint16_t readU16(const std::uint8_t* at) {
    return static_cast<std::uint16_t>((at[0] << 8) | at[1]);
}

}  // namespace

std::vector<std::uint8_t> makeDnsQuery(std::uint16_t id, std::string_view name,
                                       std::uint16_t type) {
    std::vector<std::uint8_t> query;
    putU16(query, id);
    query.push_back(kRecursionDesired);
    query.push_back(0);
    putU16(query, 1);  // one question
    putU16(query, 0);
    putU16(query, 0);
    putU16(query, 0);

    if (!name.empty() && name.back() == '.') {
        name.remove_suffix(1);
    }
    const std::size_t nameStart = query.size();
    while (!name.empty()) {
        const std::size_t dot = name.find('.');
        const std::string_view label = name.substr(0, dot);
        if (label.empty() || label.size() > kMaxLabel) {
            return {};
        }
        query.push_back(static_cast<std::uint8_t>(label.size()));
        query.insert(query.end(), label.begin(), label.end());
        name = dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
        if (dot != std::string_view::npos && name.empty()) {
            return {};  // "a..b" or a name ending in two dots
        }
    }
    query.push_back(0);  // the root
    if (query.size() - nameStart > kMaxName) {
        return {};
    }
    putU16(query, type);
    putU16(query, kClassIn);
    return query;
}

bool isDnsReplyTo(const std::uint8_t* reply, std::size_t size,
                  const std::vector<std::uint8_t>& query) {
    if (reply == nullptr || size < kHeaderSize || query.size() < kHeaderSize) {
        return false;
    }
    if (reply[0] != query[0] || reply[1] != query[1] || (reply[2] & kReplyBit) == 0) {
        return false;
    }
    const std::uint16_t questions = readU16(reply + 4);
    if (questions == 0) {
        return true;  // some servers leave the question out of an error reply
    }
    // The question as asked, right after the header (a reply copies it unchanged).
    const std::size_t questionSize = query.size() - kHeaderSize;
    return questions == 1 && size >= kHeaderSize + questionSize &&
           std::memcmp(reply + kHeaderSize, query.data() + kHeaderSize, questionSize) == 0;
}

}  // namespace quorrel::platform
