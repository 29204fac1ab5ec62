#include "people.h"

#include "core/apperror.h"
#include "namedraws.h"

#include <QDate>
#include <QString>

#include <algorithm>
#include <array>
#include <limits>
#include <numeric>

namespace quillory {

namespace {

using u128 = unsigned __int128;

bool isLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

struct MonthDay {
    std::uint8_t month;
    std::uint8_t day;
};

// The month and day of each day of a common year and of a leap year, from 1 January.
constexpr auto kDates = [] {
    std::array<std::array<MonthDay, 366>, 2> dates{};
    constexpr int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int leap = 0; leap < 2; ++leap) {
        std::size_t at = 0;
        for (int month = 0; month < 12; ++month)
            for (int day = 1; day <= kLengths[month] + (month == 1 ? leap : 0); ++day)
                dates[static_cast<std::size_t>(leap)][at++] = {static_cast<std::uint8_t>(month + 1),
                                                               static_cast<std::uint8_t>(day)};
    }
    return dates;
}();

} // namespace

int daysInYear(int year) {
    return isLeap(year) ? 366 : 365;
}

PersonDraw::PersonDraw(Rules rules, std::vector<NameBirthSpans> names, std::vector<std::uint32_t> placeOf)
    : m_rules(rules), m_placeOf(std::move(placeOf)) {
    const bool byDays = m_rules.firstDay && m_rules.lastDay;
    // The first and last of a period, and of the time chosen: years, or with days Julian day numbers.
    const auto ends = [&](const BirthSpan& span) -> std::pair<std::int64_t, std::int64_t> {
        if (!byDays)
            return {span.fromYear, span.toYear};
        return {QDate(span.fromYear, 1, 1).toJulianDay(), QDate(span.toYear, 12, 31).toJulianDay()};
    };
    const std::int64_t first = byDays ? *m_rules.firstDay : m_rules.firstYear.value_or(std::numeric_limits<int>::min());
    const std::int64_t last = byDays ? *m_rules.lastDay : m_rules.lastYear.value_or(std::numeric_limits<int>::max());
    m_places.reserve(names.size());
    for (const NameBirthSpans& spans : names) {
        std::int64_t scale = 1;
        for (const std::vector<BirthSpan>* list : {&spans.female, &spans.male})
            for (const BirthSpan& span : *list) {
                const auto [from, to] = ends(span);
                scale = std::lcm(scale, to - from + 1);
            }
        // Whole decades and half decades need 10 (their days some 2.4e10); periods so uneven would
        // weigh beyond exact numbers.
        if (scale > (std::int64_t{1} << (byDays ? 40 : 20)))
            throw AppError(QStringLiteral("system_firstnamebirths: periods of years too uneven to weigh exactly"));
        Place place{};
        const auto add = [&](const std::vector<BirthSpan>& list) {
            u128 total = 0;
            for (const BirthSpan& span : list) {
                const auto [from, to] = ends(span);
                const std::int64_t length = to - from + 1;
                const std::int64_t covered = std::max<std::int64_t>(0, std::min(to, last) - std::max(from, first) + 1);
                total += static_cast<u128>(span.births) * static_cast<std::uint64_t>(covered) *
                         static_cast<std::uint64_t>(scale / length);
                if (total >> 63)
                    throw AppError(QStringLiteral("system_firstnamebirths: more births than a draw can weigh"));
                m_periods.push_back({static_cast<std::uint64_t>(total),
                                     static_cast<std::int32_t>(std::max(from, first)),
                                     static_cast<std::int32_t>(std::min(to, last))});
            }
            return static_cast<std::uint64_t>(total);
        };
        place.girls = static_cast<std::uint32_t>(m_periods.size());
        place.girlsTotal = add(spans.female);
        place.boys = static_cast<std::uint32_t>(m_periods.size());
        place.boysTotal = add(spans.male);
        place.end = static_cast<std::uint32_t>(m_periods.size());
        m_places.push_back(place);
    }
    // A pool of moderate size has each name's place copied to it, so that a draw reads one place
    // rather than two; a name without births has a place with none.
    if (!m_placeOf.empty() && m_placeOf.size() <= kMostPlacesCopied) {
        std::vector<Place> byItem(m_placeOf.size(), Place{});
        for (std::size_t item = 0; item < m_placeOf.size(); ++item)
            if (m_placeOf[item] < m_places.size())
                byItem[item] = m_places[m_placeOf[item]];
        m_places = std::move(byItem);
        m_placeOf = {};
    }
}

Person PersonDraw::draw(std::optional<std::uint32_t> item, RandomSource& sequence) {
    std::uint64_t x[kNumbers];
    for (std::uint64_t& number : x)
        number = sequence.nextBits();
    Person person;
    person.domain = static_cast<int>(numberBelow(x[4], 3));

    const Place* place = item ? placeOf(*item) : nullptr;
    const std::uint64_t girls = place != nullptr ? place->girlsTotal : 0;
    const std::uint64_t boys = place != nullptr ? place->boysTotal : 0;
    if (m_rules.sex != 0)
        person.sex = m_rules.sex;
    else if (girls + boys != 0) // each below 2^63, so their sum fits
        person.sex = numberBelow(x[0], girls + boys) < girls ? 'F' : 'M';

    // The year (or the day): within a period of the sex drawn, or anywhere in the time chosen.
    std::int64_t from = 0;
    std::int64_t to = -1;
    const std::uint64_t total = person.sex == 'F' ? girls : boys;
    if (person.sex != 0 && total != 0) {
        const auto at = numberBelow(x[1], total);
        // The first period whose running total passes the number, halving the periods left
        // without a branch on which half it is in.
        const Period* period = &m_periods[person.sex == 'F' ? place->girls : place->boys];
        std::uint32_t left = person.sex == 'F' ? place->boys - place->girls : place->end - place->boys;
        while (left > 1) {
            const std::uint32_t half = left / 2;
            period = period[half - 1].total <= at ? period + half : period;
            left -= half;
        }
        from = period->from;
        to = period->to;
    } else if (m_rules.firstDay && m_rules.lastDay) {
        from = *m_rules.firstDay;
        to = *m_rules.lastDay;
    } else if (m_rules.firstYear && m_rules.lastYear) {
        from = *m_rules.firstYear;
        to = *m_rules.lastYear;
    }
    if (to < from)
        return person;
    const std::int64_t drawn =
        from + static_cast<std::int64_t>(numberBelow(x[2], static_cast<std::uint64_t>(to - from + 1)));
    if (m_rules.firstDay && m_rules.lastDay) {
        const QDate day = QDate::fromJulianDay(drawn);
        person.year = day.year();
        person.month = day.month();
        person.day = day.day();
        return person;
    }
    person.year = static_cast<int>(drawn);

    const auto& date = kDates[isLeap(person.year) ? 1 : 0];
    const MonthDay day = date[numberBelow(x[3], static_cast<std::uint64_t>(daysInYear(person.year)))];
    person.month = day.month;
    person.day = day.day;
    return person;
}

} // namespace quillory
