#pragma once

#include "core/birthspans.h"
#include "namedraws.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace quillory {

/**
 * The first names of a pool for a person of a sex born in a year: each name of the pool with births
 * of that sex in the period that holds the year, as often as it was given then. A year after the last
 * period takes the last (2020–2024 for 2025), one before the first takes the first. A name nobody of
 * that sex received in that period is never drawn for that person. A draw takes one number.
 */
/** The periods (first and last years) of some names' births, in order, each once. */
std::vector<std::pair<int, int>> periodsOf(std::span<const NameBirthSpans> births);

class PeriodNames {
public:
    /**
     * The names of one sex and period as an alias table whose columns hold the pool's items, so that
     * a draw reads one column: the same draw as AliasTable::drawWith over their births.
     */
    class Choice {
        struct Column {
            std::uint64_t threshold;
            std::uint32_t item;
            std::uint32_t alias;
        };

    public:
        explicit Choice(const std::vector<std::uint64_t>& births, const std::vector<std::uint32_t>& items);
        std::uint32_t drawWith(std::uint64_t x) const { return view().drawWith(x); }

        /** The table itself, for a caller that keeps it at hand: as long-lived as the Choice. */
        struct View {
            const Column* columns;
            std::uint64_t count;
            std::uint32_t drawWith(std::uint64_t x) const {
                const unsigned __int128 product = static_cast<unsigned __int128>(x) * count;
                const Column& column = columns[static_cast<std::size_t>(product >> 64)];
                return static_cast<std::uint64_t>(product) >= column.threshold ? column.alias : column.item;
            }
        };
        View view() const { return {m_columns.data(), m_columns.size()}; }

    private:
        std::vector<Column> m_columns;
    };

    /** `births` holds the births of each name of the pool, by its place in the pool; its periods are all there are. */
    explicit PeriodNames(const std::vector<NameBirthSpans>& births);
    /**
     * The `count` names of a pool, each with its births (null for none), among `periods` (the first and
     * last years of every period of the births known, whoever the names).
     */
    PeriodNames(const std::vector<std::pair<int, int>>& periods, std::uint32_t count,
                const std::function<const NameBirthSpans*(std::uint32_t item)>& birthsOf);

    /** The place in the pool of a first name for a person of `sex` ('F' or 'M') born in `year`; none
     *  when no name of the pool was given to that sex in that period. */
    std::optional<std::uint32_t> draw(char sex, int year, RandomSource& sequence) const;

    /** The first years of the periods in which no name of the pool was given to `sex`. */
    std::vector<int> emptyPeriods(char sex) const;

    /** The names a person of `sex` born in `year` is named from; null when none. */
    const Choice* choiceFor(char sex, int year) const {
        if (m_periods.empty())
            return nullptr;
        const auto& choice = periodOf(year).choices[sex == 'F' ? 0 : 1];
        return choice ? &*choice : nullptr;
    }

    /** Whether a name of the pool can be drawn for a person of `sex` born in `year`. */
    bool hasNames(char sex, int year) const { return choiceFor(sex, year) != nullptr; }
    /** The first and last years of the period that names a person born in `year`. */
    std::pair<int, int> periodYears(int year) const {
        if (m_periods.empty())
            return {year, year};
        const Period& period = periodOf(year);
        return {period.fromYear, period.toYear};
    }

private:
    struct Period {
        int fromYear;
        int toYear;
        std::optional<Choice> choices[2]; // girls' then boys' names with births then
    };
    const Period& periodOf(int year) const;

    std::vector<Period> m_periods; // in order of their first year
};

} // namespace quillory
