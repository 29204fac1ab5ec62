#pragma once

#include "namedraws.h"
#include "periodnames.h"
#include "population.h"

#include <QDate>

#include <cstdint>
#include <optional>
#include <span>
#include <unordered_set>
#include <variant>
#include <vector>

namespace quillory {

/** Whole years between a birth day and a later day (completed years, as an age is told). */
int ageOn(QDate born, QDate on);

/** The first and last days of birth that give an age from `youngest` to `oldest` on `on`. */
std::pair<QDate, QDate> birthDaysOfAges(QDate on, int youngest, int oldest);

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
        /** 'F' or 'M' for people of that sex only, or 0 for both. */
        char sex = 0;
        /** Only people born in these years (both included), when given. */
        std::optional<int> firstYear;
        std::optional<int> lastYear;
    };
    enum class Problem {
        BeforeThePopulation, // a reference day before 1 January 2026
        NobodyOfThoseAges,   // no day of birth gives an age in the range on the reference day (in the years)
    };
    struct Born {
        char sex;           // 'F' or 'M'
        std::int32_t day;   // the day of birth, as a Julian day number
        int cohort;         // 2025 − the age on 1 January 2026: the year whose births name the person
        std::uint32_t cell; // which sex and age of the population, below cells()
        QDate date() const { return QDate::fromJulianDay(day); }
    };

    static std::variant<TodayDraw, Problem> make(const Population& population, const Rules& rules);

    Born draw(RandomSource& sequence) const {
        const std::uint32_t at = m_table.draw(sequence);
        const Cell& cell = m_cells[at];
        const auto day = static_cast<std::int32_t>(drawBelow(sequence, cell.days));
        return {cell.sex, cell.firstDay + day, cell.cohort, at};
    }

    /** How many sexes and ages draws choose from, and the sex and cohort of each. */
    std::uint32_t cells() const { return static_cast<std::uint32_t>(m_cells.size()); }
    char sexOf(std::uint32_t cell) const { return m_cells[cell].sex; }
    int cohortOf(std::uint32_t cell) const { return m_cells[cell].cohort; }

    /** The sexes and the cohorts that draws can give: for each sex, the cohorts with anybody kept. */
    bool reaches(char sex, int cohort) const;

private:
    struct Cell {
        char sex;
        int cohort;
        std::int32_t firstDay; // Julian day number
        std::uint64_t days;
    };
    TodayDraw(std::vector<Cell> cells, AliasTable table) : m_cells(std::move(cells)), m_table(std::move(table)) {}

    std::vector<Cell> m_cells;
    AliasTable m_table;
};

/**
 * The people of today and their names, one record at a time. A record takes, in this order:
 *
 * 1. of the people's sequence, three numbers: the sex and age and the day of birth (TodayDraw), then
 *    the address's domain (a number below 3);
 * 2. of the names' sequence, the last name (a weighted draw from its pool), then the first name
 *    (PeriodNames: of the names given to that sex in the period holding the person's cohort); a part
 *    not printed is not drawn.
 *
 * Without repeats, a record whose name was given already (or prints as another pair's line) is drawn
 * again, whole, in the same order; after kMostTries draws of one record without a new name the run
 * stops (Exhausted). The draws must outlive the stream.
 */
class TodayNames {
public:
    static constexpr int kMostTries = 1000;
    /** No new name came in kMostTries draws of the record numbered `record` (from 1). */
    struct Exhausted {
        std::int64_t record;
    };

    /**
     * `last` must hold its weights. Without `firstNames` (which `part` may not need) a record that
     * needs a first name throws AppError.
     */
    TodayNames(const TodayDraw& people, const PeriodNames* firstNames, std::uint32_t firstCount, const DrawPool& last,
               NamePart part, RandomSource& names, RandomSource& peoples);

    /** Never gives a name twice; `repeats` are the pairs that print another pair's line (joinedLineRepeats). */
    void makeUnique(std::span<const std::uint64_t> repeats);

    DrawnName next() {
        ++m_record;
        if (!m_unique) [[likely]]
            return drawRecord();
        return nextUnique();
    }

private:
    DrawnName drawRecord() {
        const TodayDraw::Born born = m_people.draw(m_peoples);
        DrawnName drawn;
        drawn.born = born.day;
        drawn.sex = born.sex;
        drawn.domain = static_cast<std::uint8_t>(drawBelow(m_peoples, 3));
        if (m_drawsLast)
            drawn.last = m_lastTable->draw(m_names);
        if (m_drawsFirst) {
            const std::uint64_t number = m_names.nextBits();
            const PeriodNames::Choice::View names = m_namesOfCell[born.cell];
            if (names.count == 0) [[unlikely]] // refused before a run starts
                noName(born.cohort);
            drawn.first = names.drawWith(number);
        }
        return drawn;
    }
    DrawnName nextUnique();
    [[noreturn]] static void noName(int cohort);

    const TodayDraw& m_people;
    std::vector<PeriodNames::Choice::View> m_namesOfCell; // by the people's cell; no columns for none
    std::uint64_t m_firstCount;
    std::optional<AliasTable> m_lastTable;
    NamePart m_part;
    bool m_drawsFirst;
    bool m_drawsLast;
    RandomSource& m_names;
    RandomSource& m_peoples;
    bool m_unique = false;
    std::unordered_set<std::uint64_t> m_given;
    std::int64_t m_record = 0;
};

} // namespace quillory
