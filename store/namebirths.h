#pragma once

#include "core/birthspans.h"

#include <QHash>
#include <QSet>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace quillory {

class NameDatabase;

/** The file beside the program that holds the birth counts behind the built-in names. */
inline const QString kBirthsFile = QStringLiteral("births.tsv");

/** Which built-in list a count belongs to. */
enum class BirthList { Male, Female, Last };

/**
 * How many people were born with each built-in name (INSEE's counts), read from births.tsv: one line
 * per name, "m", "f" or "l", a tab, the name, a tab, the count. A name is found as it is written, or
 * else whatever its letter case; one that no name is in any letter case is found whatever its
 * apostrophes, spaces and accents too ("LE FLOCH" finds Le Floc'h, "Lefevre" Lefèvre), and where
 * several names look alike that way, the most common of them answers.
 */
class BirthCounts {
public:
    /** Reads the file; throws AppError naming the file when it cannot be read or a line is malformed. */
    static BirthCounts read(const QString& file);

    /** The births of a name in a list; 0 when the list does not have it. */
    std::uint64_t count(BirthList list, const QString& name) const;
    /**
     * The births of a first name in both lists together: a name of either list as it is (found as
     * count() finds it, accents aside), and one of neither whatever its accents in both.
     */
    std::uint64_t firstNameCount(const QString& name) const;

    /** The births of the least common name of a list. */
    std::uint64_t least(BirthList list) const { return m_least[static_cast<int>(list)]; }
    /** The births of the least common first name, both lists together. */
    std::uint64_t leastFirstName() const;

private:
    struct Entry {
        std::uint32_t from; // the name's bytes in m_text
        std::uint32_t size;
        std::uint64_t count;
    };
    struct Folded; // the lookups of names not found as they are written, made when first needed

    const Entry* exactEntry(BirthList list, QByteArrayView name) const;
    const Folded& folded() const;

    // A run reads its built-in names as births.tsv writes them: those are found by their bytes alone,
    // in one table per list, and the folding is done only for a name that is not.
    QByteArray m_text;
    std::vector<Entry> m_entries[3];
    std::vector<std::uint32_t> m_slots[3]; // entry + 1, by the hash of the name's bytes; 0: free
    std::uint64_t m_least[3] = {};
    mutable std::shared_ptr<const Folded> m_folded;
};

/** The years whose births names.mdb holds for each built-in first name. */
inline constexpr int kFirstBirthYear = 1900;
inline constexpr int kLastBirthYear = 2024;

/** Years of birth, both ends included. */
struct BirthYears {
    int first = kFirstBirthYear;
    int last = kLastBirthYear;
    /**
     * When given, only the days of birth from firstDay to lastDay (Julian day numbers, inside the
     * years): a period then counts in proportion to its days inside them rather than its years.
     */
    std::optional<std::int64_t> firstDay;
    std::optional<std::int64_t> lastDay;
};

/** Why a text gives no years of birth. */
enum class YearsProblem { NotYears, OutOfRange, Backwards };

/**
 * The years of birth as typed: one year (1954) or a range (2000-2009, an en dash allowed), from
 * kFirstBirthYear to kLastBirthYear; otherwise why not.
 */
std::variant<BirthYears, YearsProblem> birthYearsFrom(const QString& text);

/** The years as shown: "1954", or "2000–2009" with an en dash. */
QString birthYearsText(BirthYears years);

/** How many children of one sex were given a first name in a period of years (both ends included). */
struct PeriodBirths {
    QString name;
    char sex = 'M'; // 'M' or 'F'
    int fromYear = 0;
    int toYear = 0;
    std::uint64_t births = 0;
};

/**
 * Replaces the births by years of the built-in first names (the table system_firstnamebirths, made
 * anew; one row per name, sex and first year) with `rows`; every other table is left as it is. Runs
 * inside the caller's transaction.
 */
void replaceFirstNameBirths(NameDatabase& database, const std::vector<PeriodBirths>& rows);

/** Whether a database holds the births by years of the first names (a names.mdb made before them does not). */
bool hasFirstNameBirths(NameDatabase& database);

/**
 * What each first name weighs when names are drawn as given in some years: its births in those years,
 * a period the years cover in part counting in proportion to the years covered (three years of
 * 2020–2024 take three fifths of its births). The weights of a read share one whole scale factor, so
 * that they stay exact whole numbers whatever the periods. Names are matched as BirthCounts matches them.
 */
class YearBirths {
public:
    /**
     * Reads the births in `years` of the sexes asked for; throws AppError when the table is missing,
     * holds a row that makes no sense, or the births add up beyond what a draw can weigh.
     */
    static YearBirths read(NameDatabase& database, BirthYears years, bool male, bool female);

    /** The weight of a name: 0 when nobody of those sexes was given it in those years. */
    std::uint64_t weight(const QString& name) const;
    /** Whether anybody of those sexes was given any of the names in those years. */
    bool any() const { return !m_weights.isEmpty(); }

private:
    QHash<QString, std::uint64_t> m_weights; // by name, letter case folded
    QHash<QString, std::uint64_t> m_alike;   // by name without apostrophes, spaces or accents
    QSet<QString> m_known;                   // every first name of the table, in any years
};

/**
 * The births of every built-in first name by sex and period, all years, as system_firstnamebirths
 * holds them: what a person's sex and year of birth are drawn from. Names are found as YearBirths
 * finds them.
 */
class FirstNameBirths {
public:
    using Span = BirthSpan;
    using OfName = NameBirthSpans; // by first year

    /** Reads the whole table; throws AppError when it is missing or holds a row that makes no sense. */
    static FirstNameBirths read(NameDatabase& database);

    /** The births of a name, or null when it has none. */
    const OfName* find(const QString& name) const;
    /** Every name's births, in the order find() points into. */
    const std::vector<OfName>& all() const { return m_names; }

private:
    std::vector<OfName> m_names;
    QHash<QString, int> m_exact;
    QHash<QString, int> m_alike;
};

} // namespace quillory
