// The count box: any text, in any of several locales, is either refused as not a number, refused as
// too large, or gives a number of names from 0 to a million; and every whole number from 0 to a
// million, as people write it, is accepted as itself.
#include "fuzzcheck.h"
#include "generator/count.h"

#include <QLocale>

#include <cmath>
#include <cstring>

using namespace quillory;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QLocale locales[] = {
        QLocale::c(),
        QLocale(QLocale::English, QLocale::UnitedStates),
        QLocale(QLocale::French, QLocale::France),
        QLocale(QLocale::German, QLocale::Germany),
        QLocale(QLocale::German, QLocale::Switzerland), // ' groups thousands
        QLocale(QLocale::Hindi, QLocale::India),        // groups of two after the first three
        QLocale(QLocale::Arabic, QLocale::Egypt),       // its own digits
    };
    if (size == 0)
        return 0;
    const QLocale& locale = locales[data[0] % std::size(locales)];
    const QString text = fuzz::textOf(data + 1, size - 1);

    // Acceptance: every whole number of names that may be asked for, written in plain digits or as
    // the locale writes it (its grouping, its digits), is read as itself.
    if (size >= 5) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, data + 1, 4);
        const int wanted = static_cast<int>(bits % (kMaxNameCount + 1));
        for (const QString& written : {QString::number(wanted), locale.toString(wanted)}) {
            const std::optional<double> read = countFromText(written, locale);
            fuzz::check(read && *read == wanted && !countTooLarge(*read) && namesToMake(*read) == wanted,
                        "a whole number of names up to a million is read as itself", written);
        }
    }

    const std::optional<double> count = countFromText(text, locale);
    if (!count)
        return 0;
    fuzz::check(std::isfinite(*count), "an accepted count is a finite number", text);
    if (countTooLarge(*count)) {
        fuzz::check(*count > 1'000'000.0, "only a count above a million is too large", text);
        return 0;
    }
    fuzz::check(*count < 1'000'001.0, "an accepted count is below 1,000,001", text);
    const int names = namesToMake(*count);
    fuzz::check(names >= 0 && names <= kMaxNameCount, "an accepted count makes 0 to 1,000,000 names", text);
    fuzz::check(std::fabs(names - std::max(*count, 0.0)) <= 0.5, "the names made are the count rounded", text);
    // The same count with white space around it means the same.
    const std::optional<double> padded = countFromText(QStringLiteral(" ") + text + QStringLiteral(" "), locale);
    fuzz::check(padded && *padded == *count, "surrounding spaces do not change a count", text);
    return 0;
}
