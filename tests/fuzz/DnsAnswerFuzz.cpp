// A datagram arriving on the connection check's socket, tested as the reply to its query.

#include "platform/DnsMessage.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorrel;
    static const auto query = platform::makeDnsQuery(0x5151, ".", platform::kDnsTypeNs);
    const bool reply = platform::isDnsReplyTo(data, size, query);
    // A reply has at least the query's 12-byte header and its identifier.
    fuzz::require(!reply || (size >= 12 && data[0] == query[0] && data[1] == query[1]));
    return 0;
}
