#include "drawpool.h"

#include "core/procedures.h"

#include <QHash>

namespace quillory {

QString printedPart(const QString& stored, bool stripSpaces) {
    if (stripSpaces)
        return ProperCase(RemoveSpaces(stored));
    qsizetype from = 0;
    qsizetype to = stored.size();
    while (from < to && stored[from] == u' ')
        ++from;
    while (to > from && stored[to - 1] == u' ')
        --to;
    return ProperCase(stored.mid(from, to - from));
}

DrawPool makeDrawPool(const QStringList& stored, const std::vector<std::uint64_t>& weights, bool stripSpaces,
                      bool distinct) {
    DrawPool pool;
    QHash<QString, qsizetype> seen;
    for (qsizetype i = 0; i < stored.size(); ++i) {
        const bool weighed = !weights.empty();
        if (weighed && weights[static_cast<std::size_t>(i)] == 0)
            continue;
        QString text = printedPart(stored[i], stripSpaces);
        if (text.isEmpty())
            continue;
        if (distinct) {
            if (seen.contains(text))
                continue;
            seen.insert(text, i);
        }
        pool.texts.append(std::move(text));
        if (weighed)
            pool.weights.push_back(weights[static_cast<std::size_t>(i)]);
    }
    return pool;
}

} // namespace quillory
