#pragma once

#include <QHash>
#include <QSet>
#include <QString>

#include <cstdint>
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
 * per name, "m", "f" or "l", a tab, the name, a tab, the count. A name is found whatever its letter
 * case; one that no name is in any letter case is found whatever its apostrophes, spaces and accents
 * too ("LE FLOCH" finds Le Floc'h, "Lefevre" Lefèvre), and where several names look alike that way,
 * the most common of them answers.
 */
class BirthCounts {
public:
    /** Reads the file; throws AppError naming the file when it cannot be read or a line is malformed. */
    static BirthCounts read(const QString& file);

    /** The births of a name in a list; 0 when the list does not have it. */
    std::uint64_t count(BirthList list, const QString& name) const;
    /** The births of a first name in both lists together. */
    std::uint64_t firstNameCount(const QString& name) const;

    /** The births of the least common name of a list (of both first-name lists together for first names). */
    std::uint64_t least(BirthList list) const;
    std::uint64_t leastFirstName() const { return m_leastFirst; }

private:
    QHash<QString, std::uint64_t> m_counts[3]; // by name, letter case folded
    QHash<QString, std::uint64_t> m_alike[3];  // by name folded further (see count())
    std::uint64_t m_least[3] = {};
    std::uint64_t m_leastFirst = 0;
};

/** The years whose births names.mdb holds for each built-in first name. */
inline constexpr int kFirstBirthYear = 1900;
inline constexpr int kLastBirthYear = 2024;

/** Years of birth, both ends included. */
struct BirthYears {
    int first = kFirstBirthYear;
    int last = kLastBirthYear;
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

} // namespace quillory
