#include "listview/PrintLayout.h"

#include <cstdio>

#include "resources/ListTexts.h"

namespace quorrel::print {

namespace {

constexpr int kLeft = 100;
constexpr int kRight = 1850;
constexpr int kCentre = 975;
constexpr int kTitleTop = -150;
constexpr int kFooterTop = -2700;
constexpr int kHeadingOffset = 10;
constexpr int kHeadingHeight = 45;
constexpr int kRowTextOffset = 55;
constexpr int kRowLineOffset = 90;
constexpr int kRowHeight = 45;

constexpr LogoOp kLogo{1510, -200, 340, -93, 511, 140};

constexpr std::array<int, kPrintColumnCount> kHeadingCentres{275, 590, 870, 1150, 1430, 1710};
constexpr std::array<int, kPrintColumnCount> kCellLefts{125, 475, 755, 1035, 1315, 1595};
// The outer rules first, then the rules between the columns.
constexpr std::array<int, 7> kVerticalRules{100, 1850, 450, 730, 1010, 1290, 1570};

const std::array<const char*, kPrintColumnCount>& headings() {
    static const std::array<const char*, kPrintColumnCount> kHeadings{
        texts::kPrintHeadingName,       texts::kPrintHeadingAddress,
        texts::kPrintHeadingMask,       texts::kPrintHeadingGateway,
        texts::kPrintHeadingPrimaryDns, texts::kPrintHeadingSecondaryDns};
    return kHeadings;
}

LineOp horizontal(int y) {
    return LineOp{kLeft, y, kRight, y};
}

}  // namespace

FontSpec fontFor(PrintRoute route, FontRole role) {
    const bool command = route == PrintRoute::PrintCommand;
    FontSpec font;
    font.face = texts::kPrintFontFace;
    font.pitchAndFamily = command ? 0x22 : 0x20;
    if (role == FontRole::Title) {
        font.height = 60;
        font.weight = command ? 200 : 700;
        font.underline = true;
    } else {
        font.height = 30;
        font.weight = command ? 200 : 400;
    }
    return font;
}

std::string footerText(int page, int totalPages) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, texts::kPrintFooterFormat, page, totalPages);
    return buffer;
}

std::vector<DrawOp> layoutPage(const PrintJob& job, int page, const std::vector<PrintRow>& rows) {
    std::vector<DrawOp> ops;
    if (page == 1) {
        ops.emplace_back(kLogo);
        ops.emplace_back(
            TextOp{kCentre, kTitleTop, texts::kPrintTitle, FontRole::Title, TextAlign::Centre});
    }

    const PageFrame frame = pageFrame(page);
    const int top = frame.top;
    ops.emplace_back(horizontal(top));
    for (std::size_t column = 0; column < kHeadingCentres.size(); ++column) {
        ops.emplace_back(TextOp{kHeadingCentres[column], top - kHeadingOffset, headings()[column],
                                FontRole::Body, TextAlign::Centre});
    }
    int lastLine = top - kHeadingHeight;
    ops.emplace_back(horizontal(lastLine));

    const PageRows span = rowsOnPage(job, page, static_cast<int>(rows.size()));
    for (int k = 0; k < span.count; ++k) {
        const PrintRow& row = rows[static_cast<std::size_t>(span.first + k)];
        for (std::size_t column = 0; column < kCellLefts.size(); ++column) {
            ops.emplace_back(TextOp{kCellLefts[column], top - kRowTextOffset - kRowHeight * k,
                                    row[column], FontRole::Body, TextAlign::Left});
        }
        lastLine = top - kRowLineOffset - kRowHeight * k;
        ops.emplace_back(horizontal(lastLine));
    }

    for (int x : kVerticalRules) {
        ops.emplace_back(LineOp{x, top, x, lastLine});
    }
    ops.emplace_back(TextOp{kCentre, kFooterTop, footerText(page, job.totalPages), FontRole::Body,
                            TextAlign::Centre});
    return ops;
}

}  // namespace quorrel::print
