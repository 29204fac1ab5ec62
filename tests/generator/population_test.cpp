// The people of France by age, built into the program: the totals INSEE gives, the last row spread
// over the oldest ages by its stated rule, a table that does not fit refused with its line, and
// today's people drawn from it with first names of their years.
#include "core/apperror.h"
#include "generator/periodnames.h"
#include "generator/population.h"
#include "generator/today.h"

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <variant>

using namespace quillory;

// The people of both sexes and any years of birth of these ages on `on`.
static TodayDraw::Rules agesOn(QDate on, int youngest, int oldest) {
    TodayDraw::Rules rules;
    rules.on = on;
    rules.youngest = youngest;
    rules.oldest = oldest;
    return rules;
}

TEST(Population, HoldsInseesTotalsAndSpreadsTheOldestByTheShareAged99) {
    const Population& france = Population::france();
    for (const auto& [sex, total, aged99, share] : {std::tuple{'F', 35'530'799.0, 48'944.0, Population::kWomenAged99},
                                                    std::tuple{'M', 33'551'197.0, 9'467.0, Population::kMenAged99}}) {
        SCOPED_TRACE(sex);
        double everyone = 0;
        double oldest = 0;
        for (int age = 0; age <= Population::kOldest; ++age) {
            everyone += france.people(sex, age);
            if (age >= 99)
                oldest += france.people(sex, age);
            if (age > 99) {
                EXPECT_NEAR(france.people(sex, age) / france.people(sex, age - 1), 1 - share, 1e-12);
            }
        }
        EXPECT_NEAR(everyone, total, 1e-3);
        EXPECT_EQ(france.total(sex), static_cast<std::uint64_t>(total));
        EXPECT_NEAR(oldest, aged99, 1e-6) << "the row of 99 or more keeps its people";
        EXPECT_NEAR(france.people(sex, 99) / oldest, share, 0.01 * share);
    }
    EXPECT_EQ(france.people('M', 0), 305'209);
    EXPECT_EQ(france.people('F', 98), 24'185);
}

TEST(Population, ATableThatDoesNotFitIsRefusedWithItsLine) {
    QFile file(QStringLiteral(QUILLORY_SOURCE_DIR "/data/population_2026.tsv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::string good = file.readAll().toStdString();
    EXPECT_NO_THROW(Population::parse(good));
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string table = good;
        table.replace(table.find(from), from.size(), to);
        return table;
    };
    for (const auto& [table, line] : {
             std::pair{replaced("age\tbirth_year", "age\tyear"), 1},
             std::pair{replaced("0\t2025\t305209\t292906\n", ""), 2},
             std::pair{replaced("1\t2024\t316403\t301509\n", "1\t2024\t-316403\t301509\n"), 3},
             std::pair{replaced("1\t2024\t316403\t301509\n", "1\t2024\t316403\n"), 3},
             std::pair{replaced("99+\t1926-", "99\t1926"), 101},
             std::pair{good.substr(0, good.find("98\t1927")), 100},
         }) {
        try {
            Population::parse(table);
            ADD_FAILURE() << "line " << line << " was taken";
        } catch (const AppError& error) {
            EXPECT_TRUE(error.message().contains(QStringLiteral("line %1:").arg(line)))
                << error.message().toStdString();
        }
    }
}

// Today's people: each sex and age as often as France has them, and days of birth that give each an
// age in the range on the reference day; a day before the data or a range of nobody is refused.
TEST(TodayDraw, DrawsSexAndAgeAsFranceHasThemAndEveryBirthInTheRange) {
    const Population& france = Population::france();
    struct Case {
        QDate on;
        int youngest;
        int oldest;
        QDate earliest; // the days of birth the range allows
        QDate latest;
    };
    for (const Case& c : {
             Case{QDate(2026, 1, 1), 0, 110, QDate(1915, 1, 2), QDate(2026, 1, 1)},
             Case{QDate(2026, 1, 1), 0, 0, QDate(2025, 1, 2), QDate(2026, 1, 1)},
             Case{QDate(2026, 1, 1), 18, 65, QDate(1960, 1, 2), QDate(2008, 1, 1)},
             Case{QDate(2030, 6, 15), 0, 110, QDate(1915, 1, 2), QDate(2026, 1, 1)},
             Case{QDate(2028, 2, 29), 20, 20, QDate(2007, 3, 1), QDate(2008, 2, 29)},
         }) {
        SCOPED_TRACE(c.on.toString(Qt::ISODate).toStdString() + " " + std::to_string(c.youngest));
        const auto made = TodayDraw::make(france, agesOn(c.on, c.youngest, c.oldest));
        ASSERT_TRUE(std::holds_alternative<TodayDraw>(made));
        const TodayDraw& draw = std::get<TodayDraw>(made);
        RandomSource sequence(2026);
        QDate first = c.latest;
        QDate last = c.earliest;
        for (int i = 0; i < 20'000; ++i) {
            const TodayDraw::Born born = draw.draw(sequence);
            ASSERT_TRUE(born.date() >= c.earliest && born.date() <= c.latest) << born.date().toString().toStdString();
            const int age = ageOn(born.date(), c.on);
            ASSERT_TRUE(age >= c.youngest && age <= c.oldest) << age;
            ASSERT_EQ(born.cohort,
                      born.date().month() == 1 && born.date().day() == 1 ? born.date().year() - 1 : born.date().year());
            first = std::min(first, born.date());
            last = std::max(last, born.date());
        }
        if (c.youngest == c.oldest) {
            EXPECT_EQ(first, c.earliest);
            EXPECT_EQ(last, c.latest);
        }
    }

    // Sex and age (100 and over together) against the table, as a chi-square over 202 cells.
    const auto made = TodayDraw::make(france, {});
    const TodayDraw& draw = std::get<TodayDraw>(made);
    RandomSource sequence(7);
    constexpr int kDraws = 200'000;
    std::map<std::pair<char, int>, int> drawn;
    for (int i = 0; i < kDraws; ++i) {
        const TodayDraw::Born born = draw.draw(sequence);
        ++drawn[{born.sex, std::min(Population::kYear - 1 - born.cohort, 100)}];
    }
    const double everyone = static_cast<double>(france.total('F') + france.total('M'));
    double chiSquare = 0;
    for (const char sex : {'F', 'M'}) {
        for (int age = 0; age <= 100; ++age) {
            double people = 0;
            for (int older = age; older <= (age == 100 ? Population::kOldest : age); ++older)
                people += france.people(sex, older);
            const double expected = kDraws * people / everyone;
            const double difference = drawn[{sex, age}] - expected;
            chiSquare += difference * difference / expected;
        }
    }
    EXPECT_LT(chiSquare, 201 + 5 * std::sqrt(2 * 201.0)) << "201 degrees of freedom";

    for (const auto& [rules, problem] :
         {std::pair{agesOn(QDate(2025, 12, 31), 0, 110), TodayDraw::Problem::BeforeThePopulation},
          std::pair{agesOn(QDate(2030, 1, 1), 0, 3), TodayDraw::Problem::NobodyOfThoseAges},
          std::pair{agesOn(QDate(2026, 1, 1), 40, 30), TodayDraw::Problem::NobodyOfThoseAges}}) {
        const auto refused = TodayDraw::make(france, rules);
        ASSERT_TRUE(std::holds_alternative<TodayDraw::Problem>(refused));
        EXPECT_EQ(std::get<TodayDraw::Problem>(refused), problem);
    }
}

// The first names of a person born in a year: only those given to that sex in the period that holds
// the year, as often as they were given then; one number a draw, whatever it gives.
TEST(PeriodNames, DrawsOnlyNamesGivenToThatSexInThatPeriodAsOftenAsTheyWere) {
    const std::vector<NameBirthSpans> births{
        {{{1930, 1939, 1000}, {1940, 1949, 500}}, {}},                 // 0 Jacqueline
        {{{2000, 2009, 800}, {2020, 2024, 300}}, {}},                  // 1 Léa
        {{{2000, 2009, 200}, {2020, 2024, 100}}, {{2000, 2009, 100}}}, // 2 Camille
        {{}, {{1930, 1939, 900}, {2020, 2024, 10}}},                   // 3 Jean
        {{}, {}},                                                      // 4 a name without births
    };
    const PeriodNames names(births);
    struct Case {
        char sex;
        int year;
        std::map<std::uint32_t, double> shares; // none: nobody
    };
    for (const Case& c : {
             Case{'F', 1935, {{0, 1.0}}}, Case{'F', 1910, {{0, 1.0}}}, // before the first period: the first
             Case{'F', 2005, {{1, 0.8}, {2, 0.2}}}, Case{'M', 2005, {{2, 1.0}}},
             Case{'F', 2025, {{1, 0.75}, {2, 0.25}}},          // after the last period: the last
             Case{'M', 2024, {{3, 1.0}}}, Case{'M', 1945, {}}, // no boy was named then
         }) {
        SCOPED_TRACE(std::string(1, c.sex) + " " + std::to_string(c.year));
        RandomSource sequence(11);
        std::map<std::uint32_t, int> drawn;
        constexpr int kDraws = 20'000;
        for (int i = 0; i < kDraws; ++i) {
            RandomSource next = sequence;
            next.nextBits();
            const std::optional<std::uint32_t> item = names.draw(c.sex, c.year, sequence);
            ASSERT_EQ(sequence.nextBits(), next.nextBits()) << "one number a draw";
            ASSERT_EQ(item.has_value(), !c.shares.empty());
            if (item)
                ++drawn[*item];
        }
        for (const auto& [item, count] : drawn)
            ASSERT_TRUE(c.shares.contains(item)) << "name " << item << " was not given then";
        for (const auto& [item, share] : c.shares)
            EXPECT_NEAR(drawn[item] / double(kDraws), share, 0.015) << "name " << item;
    }
    EXPECT_EQ(names.emptyPeriods('M'), std::vector<int>({1940}));
    EXPECT_EQ(names.emptyPeriods('F'), std::vector<int>());
}
