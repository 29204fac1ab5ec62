#include "population.h"

#include "core/apperror.h"
#include "splittext.h"

#include <QCoreApplication>
#include <QString>

#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace quillory {

namespace population_data {
extern const char kPopulation2026[];
} // namespace population_data

namespace {

std::optional<std::uint64_t> count(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

[[noreturn]] void badLine(int line) {
    throw AppError(QCoreApplication::translate("quillory", "population table, line %1: not an age, a year of birth "
                                                           "and the numbers of men and women")
                       .arg(line));
}

} // namespace

const Population& Population::france() {
    static const Population table = parse(population_data::kPopulation2026);
    return table;
}

Population Population::parse(std::string_view table) {
    std::vector<std::string_view> lines = splitText(table, '\n');
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    if (lines.empty() || lines[0] != "age\tbirth_year\tmen\twomen")
        badLine(1);
    if (lines.size() > 101)
        badLine(102);
    Population population;
    for (int age = 0; age <= 99; ++age) {
        if (lines.size() <= static_cast<std::size_t>(age) + 1)
            badLine(age + 2);
        const std::vector<std::string_view> fields = splitText(lines[static_cast<std::size_t>(age) + 1], '\t');
        const bool last = age == 99;
        const std::string ageText = last ? "99+" : std::to_string(age);
        const std::string yearText = last ? "1926-" : std::to_string(kYear - 1 - age);
        if (fields.size() != 4 || fields[0] != ageText || fields[1] != yearText)
            badLine(age + 2);
        const std::optional<std::uint64_t> men = count(fields[2]);
        const std::optional<std::uint64_t> women = count(fields[3]);
        if (!men || !women)
            badLine(age + 2);
        population.m_totals[0] += *women;
        population.m_totals[1] += *men;
        if (!last) {
            population.m_people[0][static_cast<std::size_t>(age)] = static_cast<double>(*women);
            population.m_people[1][static_cast<std::size_t>(age)] = static_cast<double>(*men);
            continue;
        }
        // 99 or more: from 99 on, each age keeps the share of 99 among those still living; the ages
        // past kOldest go to those kept, in the same proportions.
        for (const auto& [sex, share, people] :
             {std::tuple{0, kWomenAged99, *women}, std::tuple{1, kMenAged99, *men}}) {
            // Powers by repeated products, which every machine rounds alike (a library's pow may
            // differ in its last bit, and the shares weigh the draws of a seed).
            const double ratio = 1.0 - share;
            std::array<double, kOldest - 99 + 2> powers{1.0};
            for (std::size_t n = 1; n < powers.size(); ++n)
                powers[n] = powers[n - 1] * ratio;
            const double kept = 1.0 - powers.back();
            for (int older = 99; older <= kOldest; ++older)
                population.m_people[static_cast<std::size_t>(sex)][static_cast<std::size_t>(older)] =
                    static_cast<double>(people) * share * powers[static_cast<std::size_t>(older - 99)] / kept;
        }
    }
    return population;
}

} // namespace quillory
