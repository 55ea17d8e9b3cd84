#pragma once

#include <string>
#include <string_view>

namespace quorrel::system {

// The system's own converter for utf8ToCp949 (system/CodePage.h), which hands it the text
// between the carried bytes: appends `utf8` in CP949 to `out`, a character CP949 cannot
// hold and a damaged UTF-8 sequence as '?'. False when that happened.
bool appendCp949Run(std::string_view utf8, std::string& out);

}  // namespace quorrel::system
