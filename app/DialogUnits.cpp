#include "app/DialogUnits.h"

namespace quorrel {

int dialogUnitsToPixels(int units, int base, int divisor) {
    if (divisor == 0) {
        return 0;
    }
    const long long product = static_cast<long long>(units) * base;
    const long long half = divisor / 2;
    const long long rounded =
        product >= 0 ? (product + half) / divisor : (product - half) / divisor;
    return static_cast<int>(rounded);
}

PixelRect dialogRectToPixels(int x, int y, int width, int height, DialogBaseUnits base) {
    return PixelRect{dialogUnitsToPixels(x, base.charWidth, 4),
                     dialogUnitsToPixels(y, base.charHeight, 8),
                     dialogUnitsToPixels(width, base.charWidth, 4),
                     dialogUnitsToPixels(height, base.charHeight, 8)};
}

int averageCharWidth(int widthOfAlphabet) {
    // Width of 26 letters, then halved with rounding up: the sum over 52 letters / 52.
    return (widthOfAlphabet / 26 + 1) / 2;
}

}  // namespace quorrel
