#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "ipconfig/AdapterFacts.h"

namespace quorrel::ipconfig {

// The "/all"-style report of `facts`: the host name, then one block per adapter with its
// lines "   label . . . . : value", the values all starting in one column (a Hangul
// syllable counts as two columns, as a fixed-pitch Korean font draws it). Every line ends
// in CR LF, as the system's own report does, so that the status view shows either the
// same way. Lease times are shown in the local time zone.
std::string formatAdapterReport(const ReportFacts& facts);

// One labelled line, without its line end: the label indented, a dot leader up to the
// colon column, then the value.
std::string labelledLine(std::string_view label, std::string_view value);

// Columns a fixed-pitch font gives the UTF-8 text: two for wide (East Asian) characters,
// one for the rest.
std::size_t displayWidth(std::string_view text);

// "2026년 12월 7일 월요일 오후 3:04:05" for a broken-down time.
std::string koreanDateTime(const std::tm& time);

// The same for seconds since 1970, in the local time zone; "" when it cannot be converted.
std::string koreanLocalDateTime(std::int64_t secondsSinceEpoch);

// "00-0C-29-AB-CD-EF" for the address bytes.
std::string physicalAddressText(const std::vector<std::uint8_t>& bytes);

}  // namespace quorrel::ipconfig
