#pragma once

#include "namedraws.h"
#include "population.h"

#include <QDate>

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

namespace quillory {

/** Whole years between a birth day and a later day (completed years, as an age is told). */
int ageOn(QDate born, QDate on);

/**
 * The people of today: each person's sex and day of birth, drawn in proportion to the people of
 * France on 1 January 2026 (Population) of each sex and age.
 *
 * The people aged a on 1 January 2026 were born from 2 January of 2025 − a to 1 January of 2026 − a
 * (their cohort is 2025 − a); a person of them is born on any of those days alike. A reference day
 * after 1 January 2026 finds the same people older, none dead and none born since. An age range
 * keeps, of each sex and age, the days of birth that give an age within it on the reference day, and
 * that sex and age count in proportion to the days kept.
 *
 * A draw takes two numbers of the sequence: the sex and age by an alias table over the cells kept,
 * each weighing its people × days kept ÷ days of its cohort × 1024, rounded; then the day, a number
 * below the days kept, from the first.
 */
class TodayDraw {
public:
    struct Rules {
        QDate on = QDate(Population::kYear, 1, 1);
        int youngest = 0;
        int oldest = Population::kOldest;
    };
    enum class Problem {
        BeforeThePopulation, // a reference day before 1 January 2026
        NobodyOfThoseAges,   // no day of birth gives an age in the range on the reference day
    };
    struct Born {
        char sex;   // 'F' or 'M'
        QDate date; // the day of birth
        int cohort; // 2025 − the age on 1 January 2026: the year whose births name the person
    };

    static std::variant<TodayDraw, Problem> make(const Population& population, const Rules& rules);

    Born draw(RandomSource& sequence) const;

private:
    struct Cell {
        char sex;
        int cohort;
        std::int64_t firstDay; // Julian day number
        std::uint64_t days;
    };
    TodayDraw(std::vector<Cell> cells, AliasTable table) : m_cells(std::move(cells)), m_table(std::move(table)) {}

    std::vector<Cell> m_cells;
    AliasTable m_table;
};

} // namespace quillory
