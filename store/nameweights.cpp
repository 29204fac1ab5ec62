#include "nameweights.h"

#include "core/apperror.h"
#include "namedatabase.h"

#include <algorithm>

namespace quillory {

namespace {

// Reads the births by years of the first names from the names.mdb the names come from, if it has
// them and is the program's own or another one the user gave; else from the program's own (an
// installed program's, since the user's copy may come from an older version).
template <typename Read>
auto fromBirthsDatabase(const AppPaths& paths, NameDatabase* namesFrom, bool otherDatabase, Read&& read) {
    const auto readFrom = [&](NameDatabase& database) {
        if (!hasFirstNameBirths(database))
            throw AppError(QStringLiteral("%1: no births by years of the first names (a names.mdb made by an "
                                          "older version of Quillory)")
                               .arg(database.file()));
        return read(database);
    };
    const NameDatabasePlace own = paths.nameDatabase();
    const QString programOwn = own.madeFrom.isEmpty() ? own.file : own.madeFrom;
    if (namesFrom != nullptr && (namesFrom->file() == programOwn || (otherDatabase && hasFirstNameBirths(*namesFrom))))
        return readFrom(*namesFrom);
    NameDatabase database(programOwn);
    database.openForReading();
    return readFrom(database);
}

YearBirths yearBirthsFor(const WeightChoice& choice, const AppPaths& paths, NameDatabase& namesFrom,
                         bool otherDatabase) {
    const bool male = choice.gender != GenderChoice::FemaleOnly;
    const bool female = choice.gender != GenderChoice::MaleOnly;
    return fromBirthsDatabase(paths, &namesFrom, otherDatabase, [&](NameDatabase& database) {
        return YearBirths::read(database, *choice.born, male, female);
    });
}

} // namespace

NameWeights NameWeights::read(const WeightChoice& choice, const AppPaths& paths, NameDatabase* namesFrom,
                              bool otherDatabase) {
    NameWeights weights;
    weights.m_choice = choice;
    weights.m_birthsFile = paths.besideProgram(kBirthsFile);
    if (choice.weighted())
        weights.m_counts = BirthCounts::read(weights.m_birthsFile);
    if (choice.born) {
        if (namesFrom == nullptr)
            throw AppError(QStringLiteral("no names database to read the births by years from"));
        weights.m_born = yearBirthsFor(choice, paths, *namesFrom, otherDatabase);
    }
    return weights;
}

std::uint64_t NameWeights::first(const QString& name) const {
    if (m_born)
        return m_born->weight(name);
    if (!m_counts)
        return 1;
    // The least common name of the list is looked for only for a name without a count.
    switch (m_choice.gender) {
    case GenderChoice::MaleOnly:
        if (const std::uint64_t count = m_counts->count(BirthList::Male, name); count != 0)
            return count;
        return std::max<std::uint64_t>(m_counts->least(BirthList::Male), 1);
    case GenderChoice::FemaleOnly:
        if (const std::uint64_t count = m_counts->count(BirthList::Female, name); count != 0)
            return count;
        return std::max<std::uint64_t>(m_counts->least(BirthList::Female), 1);
    default:
        if (const std::uint64_t count = m_counts->firstNameCount(name); count != 0)
            return count;
        return std::max<std::uint64_t>(m_counts->leastFirstName(), 1);
    }
}

std::uint64_t NameWeights::last(const QString& name) const {
    if (!m_counts)
        return 1;
    if (const std::uint64_t count = m_counts->count(BirthList::Last, name); count != 0)
        return count;
    return std::max<std::uint64_t>(m_counts->least(BirthList::Last), 1);
}

FirstNameBirths readFirstNameBirths(const AppPaths& paths, NameDatabase* namesFrom, bool otherDatabase) {
    return fromBirthsDatabase(paths, namesFrom, otherDatabase,
                              [](NameDatabase& database) { return FirstNameBirths::read(database); });
}

} // namespace quillory
