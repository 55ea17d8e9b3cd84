#include <gtest/gtest.h>

#include "platform/DnsMessage.h"

namespace quorrel::platform {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(DnsMessage, TheRootQuestionIsAsWrittenOnTheWire) {
    const Bytes query = makeDnsQuery(0xBEEF, ".", kDnsTypeNs);
    const Bytes expected = {0xBE, 0xEF, 0x01, 0x00, 0, 1, 0, 0, 0, 0, 0, 0,  // header
                            0x00,                                            // the root
                            0,    2,    0,    1};                            // NS, IN
    EXPECT_EQ(query, expected);
}

TEST(DnsMessage, NamesAreWrittenAsLabels) {
    const Bytes query = makeDnsQuery(1, "ab.c", 1);
    const Bytes name(query.begin() + 12, query.end() - 4);
    EXPECT_EQ(name, (Bytes{2, 'a', 'b', 1, 'c', 0}));
    EXPECT_EQ(makeDnsQuery(1, "ab.c.", 1), query);

    EXPECT_TRUE(makeDnsQuery(1, "a..b", 1).empty());
    EXPECT_TRUE(makeDnsQuery(1, ".a", 1).empty());
    EXPECT_TRUE(makeDnsQuery(1, std::string(64, 'x'), 1).empty());
    EXPECT_FALSE(makeDnsQuery(1, std::string(63, 'x'), 1).empty());
    std::string longName;
    for (int i = 0; i < 5; ++i) {
        longName += std::string(60, 'x') + ".";
    }
    EXPECT_TRUE(makeDnsQuery(1, longName, 1).empty());
}

// Any well-formed reply to our question counts, also an error; anything else does not.
TEST(DnsMessage, RepliesAreRecognised) {
    const Bytes query = makeDnsQuery(0x1234, ".", kDnsTypeNs);
    Bytes reply = query;
    reply[2] |= 0x80;
    Bytes nxdomain = reply;
    nxdomain[3] = 0x83;
    Bytes refused = reply;
    refused[3] = 0x05;
    Bytes bare(reply.begin(), reply.begin() + 12);  // an error reply without the question
    bare[5] = 0;
    Bytes otherId = reply;
    otherId[1] = 0x35;
    Bytes otherQuestion = reply;
    otherQuestion[14] = 1;
    Bytes withAnswer = reply;
    withAnswer[7] = 1;
    withAnswer.insert(withAnswer.end(), {0, 0, 2, 0, 1, 0, 0, 0, 60, 0, 0});

    struct Case {
        const char* name;
        Bytes bytes;
        bool counts;
    };
    const Case cases[] = {
        {"reply", reply, true},
        {"no such name", nxdomain, true},
        {"refused by the server", refused, true},
        {"error without question", bare, true},
        {"with an answer", withAnswer, true},
        {"the query itself", query, false},
        {"another identifier", otherId, false},
        {"another question", otherQuestion, false},
        {"cut in the header", Bytes(reply.begin(), reply.begin() + 11), false},
        {"cut in the question", Bytes(reply.begin(), reply.end() - 1), false},
        {"empty", Bytes{}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(isDnsReplyTo(c.bytes.data(), c.bytes.size(), query), c.counts);
    }
    EXPECT_FALSE(isDnsReplyTo(nullptr, 0, query));
}

}  // namespace
}  // namespace quorrel::platform
