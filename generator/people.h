#pragma once

#include "core/birthspans.h"
#include "core/random.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

/** The people behind drawn names: a sex, a year and a day of birth that fit the first name. */
namespace quillory {

/** What is drawn of a person: 0 for what is not known. */
struct Person {
    char sex = 0; // 'F' or 'M'
    int year = 0;
    int month = 0;
    int day = 0;
    int domain = 0; // which of the three example domains
};

/**
 * Draws the person behind each name from the second sequence of the seed, five numbers a person, in
 * this order, each taken whether it is used or not, so that the person of a row is the same whatever
 * fields are asked for:
 *
 * 1. the sex: the one chosen (`sex`), else a name's only one, else F when the number below the name's
 *    births of both sexes (in the years chosen) is below its births of girls, else M; none for a name
 *    without births;
 * 2. the period: of the name's periods of that sex, the one where the number below their births (in
 *    the years chosen) falls, counting them in order of their first year; a period the years cover in
 *    part counts in proportion to the years covered;
 * 3. the year: a number below the years of that period inside the years chosen, from its first; for
 *    a name without births of that sex, a year of the years chosen if any, else none;
 * 4. the day: a number below the days of that year, from 1 January;
 * 5. the address's domain: a number below 3.
 *
 * "A number below n" is the high 64 bits of the next number × n, as for the names.
 */
class PersonDraw {
public:
    struct Rules {
        char sex = 0; // 'F' or 'M' for every person, or 0
        std::optional<int> firstYear;
        std::optional<int> lastYear;
        /**
         * When given, only these days of birth (Julian day numbers, inside the years): the periods
         * weigh their days inside them rather than their years, and the third number gives the day
         * itself, the fourth then unused.
         */
        std::optional<std::int64_t> firstDay;
        std::optional<std::int64_t> lastDay;
    };

    /** No first name in `placeOf` has births. */
    static constexpr std::uint32_t kNoBirths = 0xFFFFFFFF;

    /**
     * `names` holds the births of each name of the first-name pool, by its place in the pool; or, with
     * `placeOf`, each name's births once, and `placeOf` the place in `names` of each name of the pool
     * (kNoBirths for a name without births), so that a large pool takes four bytes a name.
     */
    PersonDraw(Rules rules, std::vector<NameBirthSpans> names, std::vector<std::uint32_t> placeOf = {});

    /** The person of the first name at `item` (or of no first name), drawn from `sequence`. */
    Person draw(std::optional<std::uint32_t> item, RandomSource& sequence);

    /** How many numbers of the sequence a person takes. */
    static constexpr int kNumbers = 5;
    /** Takes a person's numbers without drawing one: the next draw is that of the person after. */
    static void pass(RandomSource& sequence) {
        for (int i = 0; i < kNumbers; ++i)
            sequence.nextBits();
    }

    /**
     * Ask the processor to fetch what draw() reads of `item`, a few names before it is drawn: first
     * where its periods are, then (once that has come) the periods.
     */
    void prefetchPlace(std::uint32_t item) const {
        if (!m_placeOf.empty()) {
            if (item < m_placeOf.size())
                __builtin_prefetch(&m_placeOf[item]);
        } else if (item < m_places.size()) {
            __builtin_prefetch(&m_places[item]);
        }
    }
    void prefetchPeriods(std::uint32_t item) const {
        if (const Place* place = placeOf(item)) {
            for (std::uint32_t period = place->girls; period < place->end; period += 4)
                __builtin_prefetch(&m_periods[period]);
        }
    }

private:
    // Each name's periods in the years chosen, one after another in m_periods, girls' then boys':
    // for each its years inside them and the running total of its sex's weights (births × years
    // covered × (scale / its length)). A name's totals of each sex are kept with where they are.
    struct Place {
        std::uint64_t girlsTotal;
        std::uint64_t boysTotal;
        std::uint32_t girls;
        std::uint32_t boys;
        std::uint32_t end;
    };
    struct Period {
        std::uint64_t total;
        std::int32_t from;
        std::int32_t to;
    };

    static constexpr std::size_t kMostPlacesCopied = std::size_t{1} << 18;

    const Place* placeOf(std::uint32_t item) const {
        if (!m_placeOf.empty())
            item = item < m_placeOf.size() ? m_placeOf[item] : kNoBirths;
        return item < m_places.size() ? &m_places[item] : nullptr;
    }

    Rules m_rules;
    std::vector<std::uint32_t> m_placeOf;
    std::vector<Place> m_places;
    std::vector<Period> m_periods;
};

/** The number of days of a year of the Gregorian calendar. */
int daysInYear(int year);

} // namespace quillory
