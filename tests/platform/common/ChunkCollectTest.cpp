#include <gtest/gtest.h>

#include <cstring>
#include <deque>

#include "system/OutputCapture.h"

namespace quorrel::system {
namespace {

// Hands out scripted reads (byte counts; negative: a failed read) and checks how it is
// asked: always for one chunk, into a cleared buffer.
class ScriptedReader {
public:
    explicit ScriptedReader(std::deque<long> script) : script_(std::move(script)) {}

    long operator()(char* buffer, std::size_t capacity) {
        ++reads;
        EXPECT_EQ(capacity, kCaptureChunkSize);
        for (std::size_t i = 0; i < capacity; ++i) {
            if (buffer[i] != '\0') {
                ADD_FAILURE() << "buffer not cleared before read " << reads;
                break;
            }
        }
        if (script_.empty()) {
            ADD_FAILURE() << "read after the end of the data";
            return 0;
        }
        const long count = script_.front();
        script_.pop_front();
        for (long i = 0; i < count; ++i) {
            buffer[i] = static_cast<char>('A' + (produced_++ % 26));
        }
        return count;
    }

    int reads = 0;

private:
    std::deque<long> script_;
    std::size_t produced_ = 0;
};

std::string pattern(std::size_t size) {
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        text[i] = static_cast<char>('A' + i % 26);
    }
    return text;
}

std::string collect(ScriptedReader& reader) {
    return collectChunks([&reader](char* b, std::size_t c) { return reader(b, c); });
}

TEST(ChunkCollect, ReadsChunkByChunkUntilTheEndOfTheData) {
    ScriptedReader threeThousand({1024, 1024, 952, 0});
    EXPECT_EQ(collect(threeThousand), pattern(3000));
    EXPECT_EQ(threeThousand.reads, 4);

    ScriptedReader exactMultiple({1024, 1024, 0});
    EXPECT_EQ(collect(exactMultiple), pattern(2048));
    EXPECT_EQ(exactMultiple.reads, 3);

    ScriptedReader nothing({0});
    EXPECT_EQ(collect(nothing), "");
}

TEST(ChunkCollect, AShortReadInTheMiddleDoesNotLoseTheRest) {
    // A child that writes line by line hands over little pieces.
    ScriptedReader pieces({40, 1024, 7, 300, 0});
    EXPECT_EQ(collect(pieces), pattern(1371));
}

TEST(ChunkCollect, AFailedReadEndsTheCollectionKeepingWhatCame) {
    ScriptedReader broken({1024, 100, -1});
    EXPECT_EQ(collect(broken), pattern(1124));
    ScriptedReader failedAtOnce({-1});
    EXPECT_EQ(collect(failedAtOnce), "");
}

TEST(ChunkCollect, BytesAreKeptAsTheyCame) {
    const std::string bytes = std::string("a\r\nb\0c\r\n\xb0\xa1", 10);
    bool delivered = false;
    const std::string text = collectChunks([&](char* buffer, std::size_t) -> long {
        if (delivered) {
            return 0;
        }
        delivered = true;
        std::memcpy(buffer, bytes.data(), bytes.size());
        return static_cast<long>(bytes.size());
    });
    EXPECT_EQ(text, bytes);
}

}  // namespace
}  // namespace quorrel::system
