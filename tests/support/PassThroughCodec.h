#pragma once

#include "platform/TextCodec.h"

namespace quorrel::test {

// A codec for GUI-free tests: the "code page" is UTF-8 itself.
class PassThroughCodec final : public platform::TextCodec {
public:
    bool encode(std::string_view utf8, std::string& out) const override {
        out.assign(utf8);
        return true;
    }
    std::string decode(std::string_view bytes) const override { return std::string(bytes); }
};

}  // namespace quorrel::test
