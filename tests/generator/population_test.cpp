// The people of France by age, built into the program: the totals INSEE gives, the last row spread
// over the oldest ages by its stated rule, and a table that does not fit refused with its line.
#include "core/apperror.h"
#include "generator/population.h"

#include <QFile>

#include <gtest/gtest.h>

#include <string>

using namespace quillory;

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
