#include "periodnames.h"

#include <algorithm>
#include <map>
#include <utility>

namespace quillory {

PeriodNames::PeriodNames(const std::vector<NameBirthSpans>& births) {
    std::map<std::pair<int, int>, std::vector<std::uint64_t>[2]> weights;
    std::map<std::pair<int, int>, std::vector<std::uint32_t>[2]> items;
    for (std::uint32_t item = 0; item < births.size(); ++item) {
        for (const int sex : {0, 1}) {
            for (const BirthSpan& span : sex == 0 ? births[item].female : births[item].male) {
                const std::pair key{span.fromYear, span.toYear};
                weights[key]; // every period of either sex is a period
                items[key];
                if (span.births == 0)
                    continue;
                weights[key][sex].push_back(span.births);
                items[key][sex].push_back(item);
            }
        }
    }
    for (auto& [years, ofSex] : weights) {
        Period period{years.first, years.second, {}, {}};
        for (const int sex : {0, 1}) {
            period.items[sex] = std::move(items[years][sex]);
            if (!ofSex[sex].empty())
                period.tables[sex].emplace(ofSex[sex]);
        }
        m_periods.push_back(std::move(period));
    }
}

const PeriodNames::Period& PeriodNames::periodOf(int year) const {
    const auto after = std::find_if(m_periods.begin(), m_periods.end(),
                                    [year](const Period& period) { return year <= period.toYear; });
    return after == m_periods.end() ? m_periods.back() : *after;
}

std::optional<std::uint32_t> PeriodNames::draw(char sex, int year, RandomSource& sequence) const {
    const std::uint64_t number = sequence.nextBits(); // taken whatever it gives, so every draw takes one
    if (m_periods.empty())
        return std::nullopt;
    const Period& period = periodOf(year);
    const int of = sex == 'F' ? 0 : 1;
    if (!period.tables[of])
        return std::nullopt;
    return period.items[of][period.tables[of]->drawWith(number)];
}

std::vector<int> PeriodNames::emptyPeriods(char sex) const {
    std::vector<int> empty;
    for (const Period& period : m_periods)
        if (!period.tables[sex == 'F' ? 0 : 1])
            empty.push_back(period.fromYear);
    return empty;
}

} // namespace quillory
