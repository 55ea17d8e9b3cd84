#include "base/TextFormat.h"

namespace quorrel {

std::string fillFormat(std::string_view format, std::initializer_list<std::string_view> args) {
    std::string out;
    auto next = args.begin();
    std::size_t pos = 0;
    while (pos < format.size()) {
        const std::size_t hit = format.find("%s", pos);
        if (hit == std::string_view::npos) {
            out.append(format.substr(pos));
            break;
        }
        out.append(format.substr(pos, hit - pos));
        if (next != args.end()) {
            out.append(*next);
            ++next;
        }
        pos = hit + 2;
    }
    return out;
}

}  // namespace quorrel
