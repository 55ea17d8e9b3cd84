#pragma once

namespace quorrel {

// Dialog templates give positions in dialog units: a quarter of the dialog font's average
// character width across, an eighth of its height down. These convert them to pixels.

// The dialog font's average width of the letters A-Z and a-z, and its height, in pixels.
struct DialogBaseUnits {
    int charWidth = 0;
    int charHeight = 0;
};

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int right() const { return x + width; }
    int bottom() const { return y + height; }
    bool operator==(const PixelRect&) const = default;
};

// Rounds like the system's own conversion: value * base / divisor, halves away from zero.
int dialogUnitsToPixels(int units, int base, int divisor);

// A rectangle of the template in pixels.
PixelRect dialogRectToPixels(int x, int y, int width, int height, DialogBaseUnits base);

// The average width from the pixel width of the 52 letters "A".."Z", "a".."z" set in the
// dialog font, rounded as the system rounds it.
int averageCharWidth(int widthOfAlphabet);

}  // namespace quorrel
