#pragma once

#include <QRect>
#include <QSize>

#include <algorithm>
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

/**
 * How much a window designed at `designed` pixels, with a frame of `frame` around it, must shrink to
 * fit `available`: 1 when it fits, else the largest factor (in thousandths) that makes it fit, but
 * never below a quarter.
 */
inline double fitScale(QSize designed, QSize frame, QSize available) {
    if (designed.isEmpty())
        return 1.0;
    const double across = static_cast<double>(available.width() - frame.width()) / designed.width();
    const double down = static_cast<double>(available.height() - frame.height()) / designed.height();
    const double scale = std::floor(std::min(across, down) * 1000.0) / 1000.0;
    return std::clamp(scale, 0.25, 1.0);
}

} // namespace quillory
