#include "namegenerator.h"

#include "core/procedures.h"
#include "core/random.h"
#include "drawpool.h"
#include "namedraws.h"
#include "today.h"

#include <QStringEncoder>

#include <cstring>

namespace quillory {

namespace {

// Cleans each pool item that the run drew, once (spaces removed, then proper case), and renumbers
// the drawn items by their place among the distinct ones, so that a run from a long list keeps only
// the texts it uses. Place 0 stays the empty text of an empty pool.
std::vector<QString> cleanDrawnItems(const QStringList& pool, std::vector<std::uint32_t>& drawn, bool keepSpaces) {
    std::vector<std::uint32_t> place(static_cast<std::size_t>(pool.size()) + 1, 0);
    std::vector<QString> texts(1);
    for (std::uint32_t& item : drawn) {
        if (item == 0)
            continue;
        if (place[item] == 0) {
            place[item] = static_cast<std::uint32_t>(texts.size());
            texts.push_back(printedPart(pool.at(item - 1), !keepSpaces));
        }
        item = place[item];
    }
    return texts;
}

// The same renumbering for items of a pool whose texts are ready (0-based items).
std::vector<QString> takeDrawnItems(const TextTable& pool, std::vector<std::uint32_t>& drawn) {
    std::vector<std::uint32_t> place(static_cast<std::size_t>(pool.size()), 0);
    std::vector<QString> texts(1);
    for (std::uint32_t& item : drawn) {
        if (place[item] == 0) {
            place[item] = static_cast<std::uint32_t>(texts.size());
            texts.push_back(pool.text(item));
        }
        item = place[item];
    }
    return texts;
}

// Calls `draw` for each of `total` names, reporting the percentage done each time it grows.
template <typename Draw> void drawWithProgress(int total, const std::function<void(int)>& progress, Draw&& draw) {
    int done = 0;
    int percent = 0;
    while (done < total) {
        // Draw up to the name at which the percentage next grows, then report it.
        const int until =
            std::min(total, static_cast<int>((static_cast<std::int64_t>(percent + 1) * total + 99) / 100));
        for (; done < until; ++done)
            draw();
        const int reached = static_cast<int>(static_cast<std::int64_t>(done) * 100 / total);
        if (reached > percent) {
            percent = reached;
            if (progress)
                progress(percent);
        }
    }
}

std::vector<QByteArray> encodeAll(const std::vector<QString>& texts) {
    QStringEncoder encode(QStringConverter::System);
    std::vector<QByteArray> bytes;
    bytes.reserve(texts.size());
    for (const QString& text : texts)
        bytes.emplace_back(encode(text));
    return bytes;
}

} // namespace

QString GeneratedNames::firstOf(qsizetype index) const {
    return m_firstTexts[m_first[static_cast<std::size_t>(index)]];
}

QString GeneratedNames::lastOf(qsizetype index) const {
    return m_lastTexts[m_last[static_cast<std::size_t>(index)]];
}

QString GeneratedNames::text(qsizetype index) const {
    switch (m_part) {
    case NamePart::FirstAndLast:
        return firstOf(index) + QLatin1Char(' ') + lastOf(index);
    case NamePart::FirstOnly:
        return firstOf(index);
    case NamePart::LastOnly:
        return lastOf(index);
    case NamePart::None:
        break;
    }
    return {};
}

void GeneratedNames::appendLines(QByteArray& out, QByteArrayView lineEnd) const {
    // Each drawn item is encoded once; then the lines are sized and copied in one pass each.
    const std::vector<QByteArray> first = encodeAll(m_firstTexts);
    const std::vector<QByteArray> last = encodeAll(m_lastTexts);
    const bool withFirst = m_part == NamePart::FirstAndLast || m_part == NamePart::FirstOnly;
    const bool withLast = m_part == NamePart::FirstAndLast || m_part == NamePart::LastOnly;
    const qsizetype separator = m_part == NamePart::FirstAndLast ? 1 : 0;

    qsizetype total = m_size * (separator + lineEnd.size());
    for (qsizetype i = 0; i < m_size; ++i) {
        if (withFirst)
            total += first[m_first[i]].size();
        if (withLast)
            total += last[m_last[i]].size();
    }
    const qsizetype start = out.size();
    out.resize(start + total);
    char* at = out.data() + start;
    const auto put = [&at](const char* data, qsizetype size) {
        std::memcpy(at, data, static_cast<std::size_t>(size));
        at += size;
    };
    for (qsizetype i = 0; i < m_size; ++i) {
        if (withFirst) {
            const QByteArray& text = first[m_first[i]];
            put(text.constData(), text.size());
        }
        if (separator != 0)
            *at++ = ' ';
        if (withLast) {
            const QByteArray& text = last[m_last[i]];
            put(text.constData(), text.size());
        }
        put(lineEnd.data(), lineEnd.size());
    }
}

QString GeneratedNames::lines(QStringView lineEnd) const {
    // Sized once, then each name copied from its parts' cleaned texts, with no text per name.
    const bool withFirst = m_part == NamePart::FirstAndLast || m_part == NamePart::FirstOnly;
    const bool withLast = m_part == NamePart::FirstAndLast || m_part == NamePart::LastOnly;
    const qsizetype separator = m_part == NamePart::FirstAndLast ? 1 : 0;
    qsizetype total = m_size * (separator + lineEnd.size());
    for (std::size_t i = 0; i < static_cast<std::size_t>(m_size); ++i)
        total += (withFirst ? m_firstTexts[m_first[i]].size() : 0) + (withLast ? m_lastTexts[m_last[i]].size() : 0);
    QString out;
    out.reserve(total);
    for (qsizetype i = 0; i < m_size; ++i) {
        if (withFirst)
            out += m_firstTexts[m_first[static_cast<std::size_t>(i)]];
        if (separator != 0)
            out += QLatin1Char(' ');
        if (withLast)
            out += m_lastTexts[m_last[static_cast<std::size_t>(i)]];
        out += lineEnd;
    }
    return out;
}

std::shared_ptr<GeneratedNames> generateNames(const QStringList& firstPool, const QStringList& lastPool, NamePart part,
                                              int count, RandomSource& random, const std::function<void(int)>& progress,
                                              bool keepSpaces) {
    auto names = std::make_shared<GeneratedNames>();
    names->m_part = part;
    names->m_keepsSpaces = keepSpaces;
    const bool keepFirst = part == NamePart::FirstAndLast || part == NamePart::FirstOnly;
    const bool keepLast = part == NamePart::FirstAndLast || part == NamePart::LastOnly;
    const int total = std::max(count, 0);
    if (keepFirst)
        names->m_first.reserve(static_cast<std::size_t>(total));
    if (keepLast)
        names->m_last.reserve(static_cast<std::size_t>(total));

    const int firstCount = static_cast<int>(firstPool.size());
    const int lastCount = static_cast<int>(lastPool.size());
    drawWithProgress(total, progress, [&] {
        const int lastItem = RandomInteger(random, lastCount);
        const int firstItem = RandomInteger(random, firstCount);
        if (keepLast)
            names->m_last.push_back(lastCount > 0 ? static_cast<std::uint32_t>(lastItem) : 0);
        if (keepFirst)
            names->m_first.push_back(firstCount > 0 ? static_cast<std::uint32_t>(firstItem) : 0);
    });

    names->m_size = part == NamePart::None ? 0 : total;
    names->m_firstTexts = cleanDrawnItems(firstPool, names->m_first, keepSpaces);
    names->m_lastTexts = cleanDrawnItems(lastPool, names->m_last, keepSpaces);
    return names;
}

// The names of a run from any stream of draws; `each` sees every name drawn, in order.
template <typename Stream, typename Each>
std::shared_ptr<GeneratedNames> drawFrom(Stream& stream, std::shared_ptr<GeneratedNames> names, const DrawPool& first,
                                         const DrawPool& last, const RunOfDraws& run,
                                         const std::function<void(int)>& progress, Each&& each) {
    const int total = std::max(run.count, 0);
    const bool keepFirst = names->keepsFirst();
    const bool keepLast = names->keepsLast();
    drawWithProgress(total, progress, [&] {
        const DrawnName drawn = stream.next();
        if (keepLast)
            names->m_last.push_back(drawn.last);
        if (keepFirst)
            names->m_first.push_back(drawn.first);
        each(drawn);
    });
    names->m_size = run.part == NamePart::None ? 0 : total;
    names->m_firstTexts = takeDrawnItems(first.texts, names->m_first);
    names->m_lastTexts = takeDrawnItems(last.texts, names->m_last);
    return names;
}

std::shared_ptr<GeneratedNames> GeneratedNames::begin(const RunOfDraws& run) {
    auto names = std::make_shared<GeneratedNames>();
    names->m_part = run.part;
    names->m_seed = run.seed;
    names->m_people.seed = run.seed;
    names->m_keepsSpaces = run.keepsSpaces;
    const auto total = static_cast<std::size_t>(std::max(run.count, 0));
    if (names->keepsFirst())
        names->m_first.reserve(total);
    if (names->keepsLast())
        names->m_last.reserve(total);
    return names;
}

std::shared_ptr<GeneratedNames> drawNames(NameStream& stream, const DrawPool& first, const DrawPool& last,
                                          const RunOfDraws& run, const std::function<void(int)>& progress) {
    return drawFrom(stream, GeneratedNames::begin(run), first, last, run, progress, [](const DrawnName&) {});
}

std::shared_ptr<GeneratedNames> drawNames(TodayNames& stream, const DrawPool& first, const DrawPool& last,
                                          const RunOfDraws& run, const std::function<void(int)>& progress) {
    std::shared_ptr<GeneratedNames> names = GeneratedNames::begin(run);
    names->m_born.reserve(static_cast<std::size_t>(std::max(run.count, 0)));
    names->m_sexAndDomain.reserve(static_cast<std::size_t>(std::max(run.count, 0)));
    GeneratedNames& kept = *names;
    return drawFrom(stream, std::move(names), first, last, run, progress, [&kept](const DrawnName& drawn) {
        kept.m_born.push_back(drawn.born);
        kept.m_sexAndDomain.push_back(static_cast<std::uint8_t>((drawn.sex == 'M' ? 1 : 0) | (drawn.domain << 1)));
    });
}

} // namespace quillory
