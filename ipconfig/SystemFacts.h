#pragma once

#include <optional>
#include <string>

#include "base/Expected.h"
#include "ipconfig/AdapterFacts.h"

namespace quorrel::ipconfig {

// The facts of this machine: its host name and every adapter of the platform's adapter
// table, with what our netsh recorded about it; fails when the adapter table cannot be
// read.
Expected<ReportFacts> readSystemFacts();

// The machine's host name; "" when it cannot be read.
std::string systemHostName();

}  // namespace quorrel::ipconfig
