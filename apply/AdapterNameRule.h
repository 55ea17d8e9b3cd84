#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/MessagePresenter.h"

namespace quorrel {

// Whether the apply's command lines can carry an adapter's connection name. They put the
// name between double quotes, and netsh reads a line by the usual command-line rules, so
// it gets back a different name when the name holds a double quote or ends in a
// backslash (which turns the closing quote into a character of the name); and in the
// address line, where the name stands without "name=", a name holding "=" reads as some
// other parameter (or, as "name=x", as the adapter x). An empty name names no adapter.
// Such names are possible: Linux allows all of these characters in interface names.
bool adapterNameFitsCommandLines(std::string_view connectionName);

// What the apply shows, before anything runs, for an adapter whose name the command lines
// cannot carry; nothing when they can.
std::optional<Message> unusableAdapterNameMessage(const std::string& connectionName);

}  // namespace quorrel
