#include "drawpool.h"

#include "core/apperror.h"
#include "core/procedures.h"
#include "persontext.h"

#include <QHashFunctions>

#include <limits>

namespace quillory {

void TextTable::append(QByteArrayView utf8) {
    const qsizetype end = m_bytes.size() + utf8.size();
    if (end > std::numeric_limits<std::uint32_t>::max() || m_ends.size() >= std::numeric_limits<std::uint32_t>::max())
        throw AppError(QStringLiteral("more names than can be drawn from"));
    m_bytes.append(utf8);
    m_ends.push_back(static_cast<std::uint32_t>(end));
    m_longest = std::max(m_longest, utf8.size());
}

QStringList TextTable::toStringList() const {
    QStringList texts;
    texts.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        texts.append(text(i));
    return texts;
}

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

bool DrawPoolBuilder::add(const QString& stored) {
    return addText(stored, nullptr);
}

bool DrawPoolBuilder::add(const QString& stored, std::uint64_t weight) {
    return weight != 0 && addText(stored, &weight);
}

bool DrawPoolBuilder::addText(const QString& stored, const std::uint64_t* weight) {
    const QString printed = printedPart(stored, m_stripSpaces);
    const QString text = m_ascii ? asciiFolded(printed) : printed;
    if (text.isEmpty())
        return false;
    const QByteArray utf8 = text.toUtf8();
    if (m_distinct && !isNew(utf8))
        return false;
    m_pool.texts.append(QByteArrayView(utf8));
    if (weight != nullptr)
        m_pool.weights.push_back(*weight);
    return true;
}

bool DrawPoolBuilder::isNew(QByteArrayView text) {
    const TextTable& texts = m_pool.texts;
    // At most half full, so that a look finds a free slot soon.
    if (2 * (static_cast<std::size_t>(texts.size()) + 1) > m_slots.size()) {
        std::vector<std::uint32_t> old =
            std::exchange(m_slots, std::vector<std::uint32_t>(std::max<std::size_t>(64, 2 * m_slots.size()), 0));
        for (const std::uint32_t place : old) {
            if (place == 0)
                continue;
            std::size_t at = qHash(texts.bytes(place - 1)) & (m_slots.size() - 1);
            while (m_slots[at] != 0)
                at = (at + 1) & (m_slots.size() - 1);
            m_slots[at] = place;
        }
    }
    std::size_t at = qHash(text) & (m_slots.size() - 1);
    for (; m_slots[at] != 0; at = (at + 1) & (m_slots.size() - 1))
        if (texts.bytes(m_slots[at] - 1) == text)
            return false;
    m_slots[at] = static_cast<std::uint32_t>(texts.size() + 1);
    return true;
}

DrawPool DrawPoolBuilder::take() {
    m_slots = {};
    return std::exchange(m_pool, DrawPool());
}

DrawPool makeDrawPool(const QStringList& stored, const std::vector<std::uint64_t>& weights, bool stripSpaces,
                      bool distinct) {
    DrawPoolBuilder builder(stripSpaces, distinct);
    for (qsizetype i = 0; i < stored.size(); ++i) {
        if (weights.empty())
            builder.add(stored[i]);
        else
            builder.add(stored[i], weights[static_cast<std::size_t>(i)]);
    }
    return builder.take();
}

} // namespace quillory
