#pragma once

#include <QFont>
#include <QImage>
#include <vector>

#include "listview/PrintLayout.h"

class QPainter;

namespace quorrel {

// The Qt font of one font of the printout. Its pixel size is in 0.1 mm, chosen so that the
// character cell (ascent plus descent) is the font's height, as on a Windows printer.
QFont printFont(const print::FontSpec& wanted);

// The product logo that heads page 1 (620 x 184 pixels); a null image when it is missing.
QImage printLogo();

// Paints the drawing operations of one page. The painter's device is a page measured in
// dots per inch whose (0, 0) is its top-left corner (a printer with setFullPage(true));
// the page is drawn in units of 0.1 mm, positions down the page negative as in the layout.
class ProfilePrinter {
public:
    ProfilePrinter(print::PrintRoute route, QImage logo);

    void paintPage(QPainter& painter, const std::vector<print::DrawOp>& ops) const;

    const QFont& font(print::FontRole role) const;

private:
    void paint(QPainter& painter, const print::LineOp& line) const;
    void paint(QPainter& painter, const print::TextOp& text) const;
    void paint(QPainter& painter, const print::LogoOp& logo) const;

    QFont titleFont_;
    QFont bodyFont_;
    QImage logo_;
};

}  // namespace quorrel
