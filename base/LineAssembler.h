#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace quorrel {

// Splits bytes that come in pieces into lines. A piece may end anywhere: inside a line,
// between a line's '\r' and its '\n', inside a character of several bytes. Each line goes
// to the sink without its line end ("\n" or "\r\n") once that end has come, blank lines as
// empty ones. Lines that lie whole in one piece are handed on where they lie; only the start
// of a line that the piece ends inside is kept, until the pieces that complete it.
class LineAssembler {
public:
    using LineSink = std::function<void(std::string_view line)>;

    explicit LineAssembler(LineSink sink);

    // The next piece of the bytes.
    void take(std::string_view piece);

    // After the last piece: hands on the last line when the bytes do not end with a line end.
    void finish();

private:
    void hand(std::string_view line);

    LineSink sink_;
    std::string partial_;  // the start of a line whose end has not come yet
};

}  // namespace quorrel
