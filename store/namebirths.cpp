#include "namebirths.h"

#include "core/apperror.h"

#include <QFile>

#include <algorithm>

namespace quillory {

QString BirthCounts::keyOf(const QString& name) {
    QString key;
    key.reserve(name.size());
    for (const QChar c : name)
        if (c != u' ' && c != u'\'' && c != u'\u2019')
            key.append(c);
    return key.toCaseFolded();
}

BirthCounts BirthCounts::read(const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("%1: %2").arg(file, in.errorString()));
    BirthCounts births;
    int lineNumber = 0;
    while (!in.atEnd()) {
        const QByteArray line = in.readLine().trimmed();
        ++lineNumber;
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QList<QByteArray> fields = line.split('\t');
        bool ok = fields.size() == 3 && fields[0].size() == 1;
        const int list = ok ? QByteArrayView("mfl").indexOf(fields[0][0]) : -1;
        const std::uint64_t count = ok ? fields[2].toULongLong(&ok) : 0;
        if (!ok || list < 0 || count == 0)
            throw AppError(QStringLiteral("%1:%2: not a birth count line").arg(file).arg(lineNumber));
        std::uint64_t& stored = births.m_counts[list][keyOf(QString::fromUtf8(fields[1]))];
        stored += count;
    }
    if (in.error() != QFileDevice::NoError)
        throw AppError(QStringLiteral("%1: %2").arg(file, in.errorString()));

    for (int list = 0; list < 3; ++list)
        for (const std::uint64_t count : std::as_const(births.m_counts[list]))
            births.m_least[list] = births.m_least[list] == 0 ? count : std::min(births.m_least[list], count);
    QHash<QString, std::uint64_t> first = births.m_counts[0];
    for (auto it = births.m_counts[1].cbegin(); it != births.m_counts[1].cend(); ++it)
        first[it.key()] += it.value();
    for (const std::uint64_t count : std::as_const(first))
        births.m_leastFirst = births.m_leastFirst == 0 ? count : std::min(births.m_leastFirst, count);
    return births;
}

std::uint64_t BirthCounts::count(BirthList list, const QString& name) const {
    return m_counts[static_cast<int>(list)].value(keyOf(name), 0);
}

std::uint64_t BirthCounts::firstNameCount(const QString& name) const {
    const QString key = keyOf(name);
    return m_counts[0].value(key, 0) + m_counts[1].value(key, 0);
}

std::uint64_t BirthCounts::least(BirthList list) const {
    return m_least[static_cast<int>(list)];
}

} // namespace quillory
