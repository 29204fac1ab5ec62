#pragma once

#include <QLocale>
#include <QString>

#include <optional>

/** The count of names asked for, as the user types it. */
namespace quillory {

/** The most names one run makes. */
inline constexpr int kMaxNameCount = 1'000'000;

/**
 * The count text as a number by the locale's rules: its decimal sign, its thousands separator in
 * the right places, an optional sign and exponent, surrounding white space. Nothing when the text
 * is empty or not a finite number.
 */
std::optional<double> countFromText(const QString& text, const QLocale& locale = QLocale());

/**
 * True when the count asks for more than a million names: 1,000,001 or more, or a fraction that
 * rounds up past a million (1,000,000.5 rounds to even and passes).
 */
bool countTooLarge(double count);

/**
 * The number of names a count makes: rounded to the nearest whole number, a half to the even one;
 * 0 for a count below a half. Meant for counts that are not too large; those give the maximum.
 */
int namesToMake(double count);

} // namespace quillory
