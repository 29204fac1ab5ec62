#pragma once

#include "core/ages.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace quillory {

/**
 * The people of France on 1 January 2026 by sex and completed age, 0 to kOldest: INSEE's estimate,
 * built into the program. Its last row (99 or more) is spread over the ages 99 to kOldest as the
 * share of exactly 99 says: each later age keeps the same share of those still living.
 */
class Population {
public:
    static constexpr int kOldest = 110;
    static_assert(kOldest == kOldestAge);
    /** The year of the reference day, 1 January. */
    static constexpr int kYear = 2026;
    /** Of those aged 99 or more, the share aged exactly 99 (INSEE, 1 January 2024). */
    static constexpr double kWomenAged99 = 0.352;
    static constexpr double kMenAged99 = 0.401;

    /** The built-in table. */
    static const Population& france();

    /**
     * Reads a table laid out as data/population_2026.tsv: a header `age birth_year men women`, the
     * ages 0 to 98 in order, then `99+`. Throws AppError naming the line that does not fit.
     */
    static Population parse(std::string_view table);

    /** The people of `sex` ('F' or 'M') aged `age` (0 to kOldest) on 1 January 2026. */
    double people(char sex, int age) const { return m_people[sex == 'F' ? 0 : 1][static_cast<std::size_t>(age)]; }
    /** Everyone of `sex`, as the table counts them. */
    std::uint64_t total(char sex) const { return m_totals[sex == 'F' ? 0 : 1]; }

private:
    std::array<std::array<double, kOldest + 1>, 2> m_people{};
    std::array<std::uint64_t, 2> m_totals{};
};

} // namespace quillory
