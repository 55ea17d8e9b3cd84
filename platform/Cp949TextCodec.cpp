#include "platform/TextCodec.h"
#include "system/CodePage.h"

namespace quorrel::platform {

namespace {

class SystemCp949Codec final : public TextCodec {
public:
    bool encode(std::string_view utf8, std::string& out) const override {
        return system::utf8ToCp949(utf8, out);
    }

    std::string decode(std::string_view bytes) const override { return system::cp949ToUtf8(bytes); }
};

}  // namespace

std::unique_ptr<TextCodec> makeCp949Codec() {
    return std::make_unique<SystemCp949Codec>();
}

}  // namespace quorrel::platform
