#include "ages.h"

#include <QRegularExpression>

#include <algorithm>

namespace quillory {

std::variant<AgeRange, AgesProblem> agesFrom(const QString& text) {
    static const QRegularExpression kAges(QStringLiteral("^\\s*([0-9]{1,9})(?:\\s*[-\u2013]\\s*([0-9]{1,9}))?\\s*$"));
    const QRegularExpressionMatch match = kAges.match(text);
    if (!match.hasMatch())
        return AgesProblem::NotAges;
    const int youngest = match.captured(1).toInt();
    const int oldest = match.hasCaptured(2) ? match.captured(2).toInt() : youngest;
    if (std::max(youngest, oldest) > kOldestAge)
        return AgesProblem::OutOfRange;
    if (oldest < youngest)
        return AgesProblem::Backwards;
    return AgeRange{youngest, oldest};
}

QString agesText(AgeRange ages) {
    if (ages.youngest == ages.oldest)
        return QString::number(ages.youngest);
    return QStringLiteral("%1\u2013%2").arg(ages.youngest).arg(ages.oldest);
}

} // namespace quillory
