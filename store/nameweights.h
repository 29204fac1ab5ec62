#pragma once

#include "namebirths.h"
#include "namelists.h"

#include "core/apppaths.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace quillory {

class NameDatabase;

/** How the names of a run are weighed: uniformly, by their births, or the first names by their births in some years. */
struct WeightChoice {
    /** Each name in proportion to the people born with it (births.tsv). */
    bool commonNames = false;
    /** First names in proportion to their births in these years (names.mdb); last names by their births. */
    std::optional<BirthYears> born;
    /** Whose births a first name counts: both sexes, or the one the first names are chosen for. */
    GenderChoice gender = GenderChoice::Both;

    bool weighted() const { return commonNames || born.has_value(); }
};

/**
 * What each name weighs in a weighted run, the same for the window and quillory-cli.
 *
 * - By births: a name weighs its births in the list drawn from (a first name of both lists the sum of
 *   both, or only its male or female births when the first names are of one gender). A name without a
 *   count (one the user added, or from a file) weighs as much as the least common name of that list.
 * - Born in some years: a first name weighs its births in those years (YearBirths), and one nobody
 *   was given then weighs nothing and is never drawn. The births by years come from the names.mdb the
 *   names come from; an installed program reads its own (the user's copy may come from an older
 *   version), and another database without them gives way to the program's own.
 */
class NameWeights {
public:
    /**
     * Reads what `choice` needs: births.tsv beside the program, and for `born` the births by years,
     * read from `namesFrom` (the open database the names come from) or from the program's own
     * names.mdb as said above. `otherDatabase` tells that `namesFrom` is not the program's own.
     * Throws AppError naming the file.
     */
    static NameWeights read(const WeightChoice& choice, const AppPaths& paths, NameDatabase* namesFrom,
                            bool otherDatabase);

    std::uint64_t first(const QString& name) const;
    std::uint64_t last(const QString& name) const;
    /** Whether anybody of the sexes chosen was given a first name in the years of `born`. */
    bool anyFirstNameBorn() const { return !m_born || m_born->any(); }
    /** The file the births come from, for messages. */
    const QString& birthsFile() const { return m_birthsFile; }

private:
    WeightChoice m_choice;
    QString m_birthsFile;
    std::optional<BirthCounts> m_counts;
    std::optional<YearBirths> m_born;
};

/**
 * The births of the built-in first names by sex and period, from the names.mdb the names come from
 * (`namesFrom`, or none when they come from files), or from the program's own as NameWeights says.
 * Throws AppError naming the file.
 */
FirstNameBirths readFirstNameBirths(const AppPaths& paths, NameDatabase* namesFrom, bool otherDatabase);

} // namespace quillory
