#pragma once

#include "core/birthspans.h"
#include "namedraws.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace quillory {

/**
 * The first names of a pool for a person of a sex born in a year: each name of the pool with births
 * of that sex in the period that holds the year, as often as it was given then. A year after the last
 * period takes the last (2020–2024 for 2025), one before the first takes the first. A name nobody of
 * that sex received in that period is never drawn for that person. A draw takes one number.
 */
class PeriodNames {
public:
    /** `births` holds the births of each name of the pool, by its place in the pool. */
    explicit PeriodNames(const std::vector<NameBirthSpans>& births);

    /** The place in the pool of a first name for a person of `sex` ('F' or 'M') born in `year`; none
     *  when no name of the pool was given to that sex in that period. */
    std::optional<std::uint32_t> draw(char sex, int year, RandomSource& sequence) const;

    /** The first years of the periods in which no name of the pool was given to `sex`. */
    std::vector<int> emptyPeriods(char sex) const;

private:
    struct Period {
        int fromYear;
        int toYear;
        std::vector<std::uint32_t> items[2]; // girls' then boys' names with births then
        std::optional<AliasTable> tables[2];
    };
    const Period& periodOf(int year) const;

    std::vector<Period> m_periods; // in order of their first year
};

} // namespace quillory
