#include "today.h"

#include <cmath>

namespace quillory {

int ageOn(QDate born, QDate on) {
    int years = on.year() - born.year();
    if (on.month() < born.month() || (on.month() == born.month() && on.day() < born.day()))
        --years;
    return years;
}

std::variant<TodayDraw, TodayDraw::Problem> TodayDraw::make(const Population& population, const Rules& rules) {
    if (rules.on < QDate(Population::kYear, 1, 1))
        return Problem::BeforeThePopulation;
    std::vector<Cell> cells;
    std::vector<std::uint64_t> weights;
    for (const char sex : {'F', 'M'}) {
        for (int age = 0; age <= Population::kOldest; ++age) {
            const int cohort = Population::kYear - 1 - age;
            const std::int64_t first = QDate(cohort, 1, 2).toJulianDay();
            const std::int64_t last = QDate(cohort + 1, 1, 1).toJulianDay();
            // The age on the reference day falls as the day of birth comes later: the days kept
            // run from the first born young enough to the last born old enough.
            const auto firstKept = [&](auto keeps) {
                std::int64_t low = first;
                std::int64_t high = last + 1;
                while (low < high) {
                    const std::int64_t middle = low + (high - low) / 2;
                    if (keeps(middle))
                        high = middle;
                    else
                        low = middle + 1;
                }
                return low;
            };
            const auto ageThen = [&](std::int64_t day) { return ageOn(QDate::fromJulianDay(day), rules.on); };
            const std::int64_t from = firstKept([&](std::int64_t day) { return ageThen(day) <= rules.oldest; });
            const std::int64_t to = firstKept([&](std::int64_t day) { return ageThen(day) < rules.youngest; }) - 1;
            if (to < from)
                continue;
            const auto kept = static_cast<std::uint64_t>(to - from + 1);
            const auto weight =
                static_cast<std::uint64_t>(std::llround(population.people(sex, age) * static_cast<double>(kept) /
                                                        static_cast<double>(last - first + 1) * 1024.0));
            if (weight == 0)
                continue;
            cells.push_back({sex, cohort, from, kept});
            weights.push_back(weight);
        }
    }
    if (cells.empty())
        return Problem::NobodyOfThoseAges;
    AliasTable table(weights);
    return TodayDraw(std::move(cells), std::move(table));
}

TodayDraw::Born TodayDraw::draw(RandomSource& sequence) const {
    const Cell& cell = m_cells[m_table.draw(sequence)];
    const auto day = static_cast<std::int64_t>(drawBelow(sequence, cell.days));
    return {cell.sex, QDate::fromJulianDay(cell.firstDay + day), cell.cohort};
}

} // namespace quillory
