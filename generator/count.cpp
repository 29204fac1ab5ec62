#include "count.h"

#include <cmath>

namespace quillory {

namespace {

// Round to nearest, ties to even, whatever the floating-point environment says.
double roundHalfToEven(double value) {
    const double nearest = std::round(value); // ties away from zero
    if (std::fabs(value - std::trunc(value)) == 0.5)
        return 2.0 * std::round(value / 2.0);
    return nearest;
}

} // namespace

std::optional<double> countFromText(const QString& text, const QLocale& locale) {
    bool ok = false;
    const double value = locale.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool countTooLarge(double count) {
    return count >= kMaxNameCount + 1.0 || roundHalfToEven(count) > kMaxNameCount;
}

int namesToMake(double count) {
    const double whole = roundHalfToEven(count);
    if (whole <= 0)
        return 0;
    return whole >= kMaxNameCount ? kMaxNameCount : static_cast<int>(whole);
}

} // namespace quillory
