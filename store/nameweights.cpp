#include "nameweights.h"

#include "core/apperror.h"
#include "namedatabase.h"

#include <algorithm>

namespace quillory {

namespace {

// The births by years of the first names for a run whose names come from `namesFrom`.
YearBirths yearBirthsFor(const WeightChoice& choice, const AppPaths& paths, NameDatabase& namesFrom,
                         bool otherDatabase) {
    const bool male = choice.gender != GenderChoice::FemaleOnly;
    const bool female = choice.gender != GenderChoice::MaleOnly;
    const auto readFrom = [&](NameDatabase& database) {
        if (!hasFirstNameBirths(database))
            throw AppError(QStringLiteral("%1: no births by years of the first names (a names.mdb made by an "
                                          "older version of Quillory)")
                               .arg(database.file()));
        return YearBirths::read(database, *choice.born, male, female);
    };
    const NameDatabasePlace own = paths.nameDatabase();
    const QString programOwn = own.madeFrom.isEmpty() ? own.file : own.madeFrom;
    if (namesFrom.file() == programOwn || (otherDatabase && hasFirstNameBirths(namesFrom)))
        return readFrom(namesFrom);
    NameDatabase database(programOwn);
    database.openForReading();
    return readFrom(database);
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
    std::uint64_t count = 0;
    std::uint64_t least = 0;
    switch (m_choice.gender) {
    case GenderChoice::MaleOnly:
        count = m_counts->count(BirthList::Male, name);
        least = m_counts->least(BirthList::Male);
        break;
    case GenderChoice::FemaleOnly:
        count = m_counts->count(BirthList::Female, name);
        least = m_counts->least(BirthList::Female);
        break;
    default:
        count = m_counts->firstNameCount(name);
        least = m_counts->leastFirstName();
        break;
    }
    return count != 0 ? count : std::max<std::uint64_t>(least, 1);
}

std::uint64_t NameWeights::last(const QString& name) const {
    if (!m_counts)
        return 1;
    const std::uint64_t count = m_counts->count(BirthList::Last, name);
    return count != 0 ? count : std::max<std::uint64_t>(m_counts->least(BirthList::Last), 1);
}

} // namespace quillory
