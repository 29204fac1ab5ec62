#include "periodnames.h"

#include <algorithm>
#include <map>
#include <span>
#include <utility>

namespace quillory {

PeriodNames::Choice::Choice(const std::vector<std::uint64_t>& births, const std::vector<std::uint32_t>& items) {
    const AliasTable table(births);
    m_columns.reserve(table.size());
    for (std::uint32_t column = 0; column < table.size(); ++column) {
        const auto [threshold, alias] = table.column(column);
        m_columns.push_back({threshold, items[column], items[alias]});
    }
}

std::vector<std::pair<int, int>> periodsOf(std::span<const NameBirthSpans> births) {
    std::vector<std::pair<int, int>> periods;
    for (const NameBirthSpans& name : births)
        for (const auto* spans : {&name.female, &name.male})
            for (const BirthSpan& span : *spans)
                periods.emplace_back(span.fromYear, span.toYear);
    std::sort(periods.begin(), periods.end());
    periods.erase(std::unique(periods.begin(), periods.end()), periods.end());
    return periods;
}

PeriodNames::PeriodNames(const std::vector<NameBirthSpans>& births)
    : PeriodNames(periodsOf(births), static_cast<std::uint32_t>(births.size()),
                  [&](std::uint32_t item) { return &births[item]; }) {}

PeriodNames::PeriodNames(const std::vector<std::pair<int, int>>& periods, std::uint32_t count,
                         const std::function<const NameBirthSpans*(std::uint32_t)>& birthsOf) {
    std::map<std::pair<int, int>, std::vector<std::uint64_t>[2]> weights;
    std::map<std::pair<int, int>, std::vector<std::uint32_t>[2]> items;
    for (const auto& years : periods) {
        weights[years];
        items[years];
    }
    for (std::uint32_t item = 0; item < count; ++item) {
        const NameBirthSpans* births = birthsOf(item);
        if (births == nullptr)
            continue;
        for (const int sex : {0, 1}) {
            for (const BirthSpan& span : sex == 0 ? births->female : births->male) {
                const std::pair key{span.fromYear, span.toYear};
                if (span.births == 0 || !weights.contains(key))
                    continue;
                weights[key][sex].push_back(span.births);
                items[key][sex].push_back(item);
            }
        }
    }
    for (auto& [years, ofSex] : weights) {
        Period period{years.first, years.second, {}};
        for (const int sex : {0, 1})
            if (!ofSex[sex].empty())
                period.choices[sex].emplace(ofSex[sex], items[years][sex]);
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
    const Choice* choice = choiceFor(sex, year);
    if (choice == nullptr)
        return std::nullopt;
    return choice->drawWith(number);
}

std::vector<int> PeriodNames::emptyPeriods(char sex) const {
    std::vector<int> empty;
    for (const Period& period : m_periods)
        if (!period.choices[sex == 'F' ? 0 : 1])
            empty.push_back(period.fromYear);
    return empty;
}

} // namespace quillory
