#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace quillory {

/**
 * A read-only run of item texts, numbered from 0. A list can show it without holding one string per
 * item: a long run of generated names makes each text only when it is asked for.
 */
class ListItems {
public:
    virtual ~ListItems() = default;

    virtual qsizetype size() const = 0;
    /** The text of item `index`, 0 <= index < size(). */
    virtual QString text(qsizetype index) const = 0;

    /**
     * Appends every item's text in order, in the system's 8-bit encoding, each followed by
     * `lineEnd`. Runs that know their texts' bytes override it to skip the per-item conversion.
     */
    virtual void appendLines(QByteArray& out, QByteArrayView lineEnd) const;

    /** Every item's text in order, each followed by `lineEnd`, as one text (for the clipboard). */
    virtual QString lines(QStringView lineEnd) const;
};

/**
 * How the people behind a run's names are drawn when their sex and birth are asked for: the sex the
 * run chose for every first name, the years of birth it chose, whether every address must differ,
 * and the seed of their own sequence (the run's seed when it has one).
 */
struct RunPeople {
    char sex = 0; // 'F' or 'M', or 0 for a sex from each name's births
    std::optional<int> firstYear;
    std::optional<int> lastYear;
    bool uniqueAddresses = false;
    std::uint64_t seed = 0;
    /** The people of today: each was drawn before the name (NameRun::person), none behind it. */
    bool today = false;
    /** When given, a person under 18 on this day has no title. */
    std::optional<QDate> titledFrom18On;
};

/** A person drawn before the name: the day of birth (a Julian day number), the sex, the address's domain. */
struct RunPerson {
    std::int32_t born = 0;
    char sex = 0;
    std::uint8_t domain = 0;
};

/**
 * A run of drawn names: each item is a first name, a last name, or both joined by one space. Besides
 * its texts, a run knows each name's parts (which may hold spaces of their own) and how it can be
 * drawn again.
 */
class NameRun : public ListItems {
public:
    /** The first name of item `index`; empty text when the run keeps no first names. */
    virtual QString firstName(qsizetype index) const = 0;
    /** The last name of item `index`; empty text when the run keeps no last names. */
    virtual QString lastName(qsizetype index) const = 0;
    virtual bool keepsFirst() const = 0;
    /** The person of item `index`, when the run drew the people before their names (RunPeople::today). */
    virtual std::optional<RunPerson> person(qsizetype /*index*/) const { return std::nullopt; }
    virtual bool keepsLast() const = 0;
    /** The seed that draws the run again with the same choices and lists; none for a run drawn as designed. */
    virtual std::optional<std::uint64_t> seed() const = 0;
    /** Whether the parts keep the spaces inside them (Da Silva) rather than lose them (Dasilva). */
    virtual bool keepsSpaces() const = 0;
    virtual RunPeople people() const = 0;
};

/**
 * Columns shown beside a list's texts, row for row (the people behind a run's names): each text
 * made as the view asks for it.
 */
class ListColumns {
public:
    virtual ~ListColumns() = default;

    virtual int count() const = 0;
    virtual QString header(int column) const = 0;
    /** The text of `column` (0 <= column < count()) for item `row`. */
    virtual QString text(qsizetype row, int column) const = 0;
};

/** Items held as a string list (shared, not copied). */
class StringListItems final : public ListItems {
public:
    explicit StringListItems(QStringList items) : m_items(std::move(items)) {}

    qsizetype size() const override { return m_items.size(); }
    QString text(qsizetype index) const override { return m_items.at(index); }
    const QStringList& strings() const { return m_items; }

private:
    QStringList m_items;
};

} // namespace quillory
