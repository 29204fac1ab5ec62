#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace quillory {

/**
 * Texts kept end to end in one block of UTF-8, with where each ends: a few bytes per text beyond its
 * own, however many there are (a list read from a file of a hundred megabytes included).
 */
class TextTable {
public:
    TextTable() = default;
    TextTable(std::initializer_list<QString> texts) {
        for (const QString& text : texts)
            append(text);
    }
    explicit TextTable(const QStringList& texts) {
        for (const QString& text : texts)
            append(text);
    }

    qsizetype size() const { return static_cast<qsizetype>(m_ends.size()); }
    bool isEmpty() const { return m_ends.empty(); }

    /** Text i as its UTF-8 bytes, valid until the next append. */
    QByteArrayView bytes(qsizetype i) const {
        const std::uint32_t from = i == 0 ? 0 : m_ends[static_cast<std::size_t>(i) - 1];
        return QByteArrayView(m_bytes.constData() + from, m_ends[static_cast<std::size_t>(i)] - from);
    }
    QString text(qsizetype i) const { return QString::fromUtf8(bytes(i)); }
    QString operator[](qsizetype i) const { return text(i); }
    /** The longest text, in bytes. */
    qsizetype longest() const { return m_longest; }

    /** Adds a text at the end; throws AppError when the table is full (4 GiB of text). */
    void append(QByteArrayView utf8);
    void append(const QString& text) { append(QByteArrayView(text.toUtf8())); }

    /** Every text, in order (for small tables: tests and the joined-line check). */
    QStringList toStringList() const;

private:
    QByteArray m_bytes;
    std::vector<std::uint32_t> m_ends;
    qsizetype m_longest = 0;
};

/** The names one part is drawn from: their texts as printed and, for weighted draws, their weights. */
struct DrawPool {
    TextTable texts;
    std::vector<std::uint64_t> weights;
};

/**
 * A stored name as a part of a printed name: in proper case, with the spaces at either end dropped and
 * those inside kept (Da Silva), or with every space removed as the window's results have them
 * (Dasilva) when `stripSpaces` is set.
 */
QString printedPart(const QString& stored, bool stripSpaces);

/**
 * Makes a pool from stored names given one at a time, each with its weight (for weighted draws) or
 * none: each name as printedPart() makes it, a name that prints as nothing or weighs nothing left out.
 * With `distinct`, a text that prints like an earlier one is left out too, so that each text is there
 * once with its first weight; without it, a name stored twice is there twice, as a shown list has it.
 */
class DrawPoolBuilder {
public:
    /** `ascii`: the names are printed with their accents folded away (see asciiFolded()). */
    DrawPoolBuilder(bool stripSpaces, bool distinct, bool ascii = false)
        : m_stripSpaces(stripSpaces), m_distinct(distinct), m_ascii(ascii) {}

    /** Adds a name; false when it is left out (it prints as nothing, weighs nothing or repeats a text). */
    bool add(const QString& stored);
    bool add(const QString& stored, std::uint64_t weight);

    DrawPool take();

private:
    bool addText(const QString& stored, const std::uint64_t* weight);
    bool isNew(QByteArrayView text);

    bool m_stripSpaces;
    bool m_distinct;
    bool m_ascii;
    DrawPool m_pool;
    // The places of the texts kept, by hash (open addressing; place + 1, 0 for a free slot).
    std::vector<std::uint32_t> m_slots;
};

/** The pool of a list of stored names and their weights (none, or one per name), as DrawPoolBuilder makes it. */
DrawPool makeDrawPool(const QStringList& stored, const std::vector<std::uint64_t>& weights, bool stripSpaces,
                      bool distinct);

} // namespace quillory
