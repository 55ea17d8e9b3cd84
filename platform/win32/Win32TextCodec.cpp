#include "platform/TextCodec.h"
#include "platform/win32/Win32CodePage.h"

namespace quorrel::platform {

namespace {

class Win32Cp949Codec final : public TextCodec {
public:
    bool encode(std::string_view utf8, std::string& out) const override {
        bool lossless = true;
        out = win32::utf8ToCodePage(utf8, win32::kProgramCodePage, &lossless);
        return lossless;
    }

    std::string decode(std::string_view bytes) const override {
        return win32::codePageToUtf8(bytes, win32::kProgramCodePage);
    }
};

}  // namespace

std::unique_ptr<TextCodec> makeCp949Codec() {
    return std::make_unique<Win32Cp949Codec>();
}

}  // namespace quorrel::platform
