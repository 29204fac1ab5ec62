#pragma once

#include <QHash>
#include <QString>

#include <cstdint>

namespace quillory {

/** The file beside the program that holds the birth counts behind the built-in names. */
inline const QString kBirthsFile = QStringLiteral("births.tsv");

/** Which built-in list a count belongs to. */
enum class BirthList { Male, Female, Last };

/**
 * How many people were born with each built-in name (INSEE's counts), read from births.tsv: one line
 * per name, "m", "f" or "l", a tab, the name, a tab, the count. Names are matched without regard to
 * letter case, apostrophes or spaces, so "LE FLOCH" finds Le Floc'h.
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
    static QString keyOf(const QString& name);

    QHash<QString, std::uint64_t> m_counts[3];
    std::uint64_t m_least[3] = {};
    std::uint64_t m_leastFirst = 0;
};

} // namespace quillory
