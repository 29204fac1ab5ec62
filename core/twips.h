#pragma once

#include <QRect>

#include <cmath>

namespace quillory {

/** Window geometry is designed in twips (1/1440 inch): 15 twips a pixel at 96 dots per inch. */
inline int twipsToPixels(int twips, double logicalDpi) {
    return static_cast<int>(std::lround(twips * logicalDpi / 1440.0));
}

/** A rectangle given in twips as left, top, width, height; edges are rounded, so neighbours meet. */
inline QRect twipsToRect(int left, int top, int width, int height, double logicalDpi) {
    const int x = twipsToPixels(left, logicalDpi);
    const int y = twipsToPixels(top, logicalDpi);
    return QRect(x, y, twipsToPixels(left + width, logicalDpi) - x, twipsToPixels(top + height, logicalDpi) - y);
}

} // namespace quillory
