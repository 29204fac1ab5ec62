#pragma once

#include <QFile>
#include <QHash>
#include <QString>
#include <QStringList>

#include <algorithm>

namespace quillory::test {

/**
 * The births behind the built-in first names as data/ has them, read on their own: each name's male
 * and female births together, its text made by `key`.
 */
template <typename Key> QHash<QString, double> firstNameBirthsInData(Key&& key) {
    QHash<QString, double> births;
    for (const char* list : {"male_first_names_counts.tsv", "female_first_names_counts.tsv"}) {
        QFile file(QStringLiteral(QUILLORY_SOURCE_DIR "/data/") + QLatin1String(list));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        for (const QByteArray& line : file.readAll().split('\n'))
            if (const QList<QByteArray> fields = line.split('\t'); fields.size() == 2)
                births[key(QString::fromUtf8(fields[0]))] += fields[1].toDouble();
    }
    return births;
}

/**
 * The chi-square of names drawn against their weights, over the `top` heaviest names and the rest
 * together (`top` degrees of freedom).
 */
inline double chiSquareOfTop(const QHash<QString, double>& weights, const QStringList& drawnNames, int top) {
    double total = 0;
    for (const double weight : weights)
        total += weight;
    QStringList names = weights.keys();
    std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) { return weights[a] > weights[b]; });
    QHash<QString, int> drawn;
    for (const QString& name : drawnNames)
        ++drawn[name];

    const auto draws = static_cast<double>(drawnNames.size());
    double chiSquare = 0;
    double restExpected = draws;
    double restObserved = draws;
    for (int i = 0; i < top; ++i) {
        const double expected = draws * weights[names[i]] / total;
        const int observed = drawn.value(names[i]);
        chiSquare += (observed - expected) * (observed - expected) / expected;
        restExpected -= expected;
        restObserved -= observed;
    }
    return chiSquare + (restObserved - restExpected) * (restObserved - restExpected) / restExpected;
}

} // namespace quillory::test
