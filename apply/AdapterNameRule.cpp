#include "apply/AdapterNameRule.h"

#include "base/TextFormat.h"
#include "resources/ApplyTexts.h"

namespace quorrel {

bool adapterNameFitsCommandLines(std::string_view connectionName) {
    return !connectionName.empty() && connectionName.find('"') == std::string_view::npos &&
           connectionName.find('=') == std::string_view::npos && connectionName.back() != '\\';
}

std::optional<Message> unusableAdapterNameMessage(const std::string& connectionName) {
    if (adapterNameFitsCommandLines(connectionName)) {
        return std::nullopt;
    }
    Message message;
    message.text = connectionName.empty()
                       ? std::string(texts::kUnnamedAdapterText)
                       : fillFormat(texts::kUnusableAdapterNameFormat, {connectionName});
    message.caption = texts::kUnusableAdapterCaption;
    message.icon = MessageIcon::Exclamation;
    message.buttons = MessageButtons::Ok;
    return message;
}

}  // namespace quorrel
