#pragma once

#include <array>
#include <string>
#include <variant>
#include <vector>

#include "listview/PrintPages.h"

namespace quorrel::print {

// Every position is in 0.1 mm from the top-left corner of the printable area, x to the
// right and y upwards, so that positions down the page are negative.

enum class FontRole { Title, Body };
enum class TextAlign { Left, Centre };

// A font of the printout. Heights are in 0.1 mm; pitchAndFamily follows the Windows
// LOGFONT byte (0x20 Swiss family, 0x02 variable pitch).
struct FontSpec {
    const char* face = nullptr;
    int height = 0;
    int weight = 0;
    bool underline = false;
    int pitchAndFamily = 0;
};
FontSpec fontFor(PrintRoute route, FontRole role);

struct LineOp {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    bool operator==(const LineOp&) const = default;
};

// A text whose top lies at y; x is its left edge (Left) or its horizontal centre (Centre).
struct TextOp {
    int x = 0;
    int y = 0;
    std::string text;
    FontRole font = FontRole::Body;
    TextAlign align = TextAlign::Left;
    bool operator==(const TextOp&) const = default;
};

// The logo: the top-left sourceWidth x sourceHeight pixels of the logo picture, scaled
// into the rectangle from (x, y) with this width and (negative, downwards) height.
struct LogoOp {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int sourceWidth = 0;
    int sourceHeight = 0;
    bool operator==(const LogoOp&) const = default;
};

using DrawOp = std::variant<LineOp, TextOp, LogoOp>;

inline constexpr int kPrintColumnCount = 6;
// The texts of one list row, columns 0 to 5, as the list shows them.
using PrintRow = std::array<std::string, kPrintColumnCount>;

// The footer line, e.g. "- 2/3 -".
std::string footerText(int page, int totalPages);

// The drawing of one page of the job, in drawing order: on page 1 the logo and the title,
// then the ruled table with the page's rows and the footer. `rows` are all rows of the
// list in the order they are shown.
std::vector<DrawOp> layoutPage(const PrintJob& job, int page, const std::vector<PrintRow>& rows);

}  // namespace quorrel::print
