#include "today.h"

#include "core/apperror.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quillory {

int ageOn(QDate born, QDate on) {
    int years = on.year() - born.year();
    if (on.month() < born.month() || (on.month() == born.month() && on.day() < born.day()))
        --years;
    return years;
}

namespace {

// The first day from `low` to `high` for which `keeps` holds, which holds on every later day too;
// high + 1 when none.
template <typename Keeps> std::int64_t firstKept(std::int64_t low, std::int64_t high, Keeps keeps) {
    ++high;
    while (low < high) {
        const std::int64_t middle = low + (high - low) / 2;
        if (keeps(middle))
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

} // namespace

std::pair<QDate, QDate> birthDaysOfAges(QDate on, int youngest, int oldest) {
    const std::int64_t today = on.toJulianDay();
    const std::int64_t earliest = on.addYears(-oldest - 2).toJulianDay();
    const auto ageThen = [&](std::int64_t day) { return ageOn(QDate::fromJulianDay(day), on); };
    const std::int64_t from = firstKept(earliest, today, [&](std::int64_t day) { return ageThen(day) <= oldest; });
    const std::int64_t to = firstKept(earliest, today, [&](std::int64_t day) { return ageThen(day) < youngest; }) - 1;
    return {QDate::fromJulianDay(from), QDate::fromJulianDay(to)};
}

std::variant<TodayDraw, TodayDraw::Problem> TodayDraw::make(const Population& population, const Rules& rules) {
    if (rules.on < QDate(Population::kYear, 1, 1))
        return Problem::BeforeThePopulation;
    std::vector<Cell> cells;
    std::vector<std::uint64_t> weights;
    const std::int64_t firstAllowed =
        rules.firstYear ? QDate(*rules.firstYear, 1, 1).toJulianDay() : std::numeric_limits<std::int64_t>::min();
    const std::int64_t lastAllowed =
        rules.lastYear ? QDate(*rules.lastYear, 12, 31).toJulianDay() : std::numeric_limits<std::int64_t>::max();
    for (const char sex : {'F', 'M'}) {
        if (rules.sex != 0 && rules.sex != sex)
            continue;
        for (int age = 0; age <= Population::kOldest; ++age) {
            const int cohort = Population::kYear - 1 - age;
            const std::int64_t first = QDate(cohort, 1, 2).toJulianDay();
            const std::int64_t last = QDate(cohort + 1, 1, 1).toJulianDay();
            // The age on the reference day falls as the day of birth comes later: the days kept
            // run from the first born young enough to the last born old enough.
            const auto ageThen = [&](std::int64_t day) { return ageOn(QDate::fromJulianDay(day), rules.on); };
            const std::int64_t from = std::max(
                firstAllowed, firstKept(first, last, [&](std::int64_t day) { return ageThen(day) <= rules.oldest; }));
            const std::int64_t to =
                std::min(lastAllowed,
                         firstKept(first, last, [&](std::int64_t day) { return ageThen(day) < rules.youngest; }) - 1);
            if (to < from)
                continue;
            const auto kept = static_cast<std::uint64_t>(to - from + 1);
            const auto weight =
                static_cast<std::uint64_t>(std::llround(population.people(sex, age) * static_cast<double>(kept) /
                                                        static_cast<double>(last - first + 1) * 1024.0));
            if (weight == 0)
                continue;
            cells.push_back({sex, cohort, static_cast<std::int32_t>(from), kept});
            weights.push_back(weight);
        }
    }
    if (cells.empty())
        return Problem::NobodyOfThoseAges;
    AliasTable table(weights);
    return TodayDraw(std::move(cells), std::move(table));
}

} // namespace quillory

namespace quillory {

bool TodayDraw::reaches(char sex, int cohort) const {
    return std::any_of(m_cells.begin(), m_cells.end(),
                       [&](const Cell& cell) { return cell.sex == sex && cell.cohort == cohort; });
}

} // namespace quillory

namespace quillory {

TodayNames::TodayNames(const TodayDraw& people, const PeriodNames* firstNames, std::uint32_t firstCount,
                       const DrawPool& last, NamePart part, RandomSource& names, RandomSource& peoples)
    : m_people(people), m_firstCount(firstCount), m_part(part),
      m_drawsFirst(part == NamePart::FirstAndLast || part == NamePart::FirstOnly),
      m_drawsLast(part == NamePart::FirstAndLast || part == NamePart::LastOnly), m_names(names), m_peoples(peoples) {
    if (m_drawsLast)
        m_lastTable.emplace(last.weights);
    if (m_drawsFirst)
        for (std::uint32_t cell = 0; cell < people.cells(); ++cell) {
            const PeriodNames::Choice* names =
                firstNames != nullptr ? firstNames->choiceFor(people.sexOf(cell), people.cohortOf(cell)) : nullptr;
            m_namesOfCell.push_back(names != nullptr ? names->view() : PeriodNames::Choice::View{nullptr, 0});
        }
}

void TodayNames::makeUnique(std::span<const std::uint64_t> repeats) {
    m_unique = true;
    m_given.insert(repeats.begin(), repeats.end());
}

DrawnName TodayNames::nextUnique() {
    for (int tries = 0; tries < kMostTries; ++tries) {
        const DrawnName drawn = drawRecord();
        const std::uint64_t number = m_part == NamePart::FirstOnly  ? drawn.first
                                     : m_part == NamePart::LastOnly ? drawn.last
                                                                    : drawn.last * m_firstCount + drawn.first;
        if (m_given.insert(number).second)
            return drawn;
    }
    throw Exhausted{m_record};
}

void TodayNames::noName(int cohort) {
    throw AppError(QStringLiteral("no first name for a person born in %1").arg(cohort));
}

} // namespace quillory
