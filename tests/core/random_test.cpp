#include "core/appinfo.h"
#include "core/random.h"
#include "scripteddialogs.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

using namespace quillory;

TEST(RandomInteger, MapsAFractionToOneToN) {
    EXPECT_EQ(RandomInteger(0.0, 10), 1);
    EXPECT_EQ(RandomInteger(0.0999, 10), 1);
    EXPECT_EQ(RandomInteger(0.1, 10), 2);
    EXPECT_EQ(RandomInteger(0.9999999, 10), 10);
    EXPECT_EQ(RandomInteger(std::nextafter(1.0, 0.0), 1'000'000), 1'000'000);
    EXPECT_EQ(RandomInteger(std::nextafter(1.0, 0.0), 2'147'483'647), 2'147'483'647);
}

TEST(RandomInteger, OneAndZeroAlwaysGiveOne) {
    RandomSource random(42);
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(RandomInteger(random, 1), 1);
        ASSERT_EQ(RandomInteger(random, 0), 1);
    }
}

TEST(RandomSource, FractionsStayInTheHalfOpenUnitInterval) {
    RandomSource random(7);
    for (int i = 0; i < 200'000; ++i) {
        const double r = random.next();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
    }
}

// The published outputs of the reference generators: xoshiro256** from the state {1, 2, 3, 4}, and
// splitmix64 from 0, whose first four outputs are the state a seed of 0 starts from.
TEST(RandomSource, MatchesTheReferenceGeneratorsPublishedOutputs) {
    RandomSource reference = RandomSource::fromState({1, 2, 3, 4});
    for (const std::uint64_t expected :
         {11520ULL, 0ULL, 1509978240ULL, 1215971899390074240ULL, 1216172134540287360ULL, 607988272756665600ULL,
          16172922978634559625ULL, 8476171486693032832ULL, 10595114339597558777ULL, 2904607092377533576ULL})
        EXPECT_EQ(reference.nextBits(), expected);

    RandomSource seeded(0);
    RandomSource fromSplitmix = RandomSource::fromState(
        {0xE220A8397B1DCDAFULL, 0x6E789E6AA1B965F4ULL, 0x06C45D188009454FULL, 0xF88BB8A8724C81ECULL});
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(seeded.nextBits(), fromSplitmix.nextBits()) << i;
}

TEST(RandomSource, TheSameSeedGivesTheSameSequenceAndAnotherSeedAnother) {
    RandomSource a(123), b(123), c(124);
    int differences = 0;
    for (int i = 0; i < 100; ++i) {
        const std::uint64_t x = a.nextBits();
        ASSERT_EQ(x, b.nextBits());
        differences += x != c.nextBits();
    }
    EXPECT_GT(differences, 95);
}

TEST(RandomSource, DrawsAreUniformOverTheRange) {
    // One chi-square test with a loose bound: 20 cells, 19 degrees of freedom; 50 is far past p = 0.001.
    RandomSource random(2021);
    constexpr int kCells = 20;
    constexpr int kDraws = 200'000;
    std::array<int, kCells> counts{};
    for (int i = 0; i < kDraws; ++i)
        ++counts[RandomInteger(random, kCells) - 1];
    const double expected = double(kDraws) / kCells;
    double chiSquare = 0;
    for (int count : counts)
        chiSquare += (count - expected) * (count - expected) / expected;
    EXPECT_LT(chiSquare, 50.0);
}

TEST(SeedRandom, TheTimeOfDaySeedsTheSequence) {
    test::ScriptedDialogs dialogs;
    RandomSource a, b, c;
    SeedRandom(a, QTime(9, 30, 15, 250), dialogs);
    SeedRandom(b, QTime(9, 30, 15, 250), dialogs);
    SeedRandom(c, QTime(9, 30, 16, 0), dialogs);
    const std::uint64_t x = a.nextBits();
    EXPECT_EQ(x, b.nextBits());
    EXPECT_NE(x, c.nextBits());
}

TEST(SeedRandom, OpensTheHomePageOnlyWhenTheFirstRollIsSeven) {
    // Walk through a day's worth of start times, a few seconds apart, and count the page openings.
    test::ScriptedDialogs dialogs;
    RandomSource random;
    int sevens = 0;
    constexpr int kStarts = 8640;
    for (int i = 0; i < kStarts; ++i) {
        const int roll = SeedRandom(random, QTime(0, 0).addMSecs(i * 10'000 + 123), dialogs);
        ASSERT_GE(roll, 1);
        ASSERT_LE(roll, 100);
        sevens += roll == appinfo::kHomePageRoll;
        ASSERT_EQ(dialogs.urlsOpened.size(), sevens);
    }
    EXPECT_GT(sevens, kStarts / 100 / 2);
    EXPECT_LT(sevens, kStarts / 100 * 2);
    ASSERT_FALSE(dialogs.urlsOpened.isEmpty());
    EXPECT_EQ(dialogs.urlsOpened.first(), QUrl(appinfo::kHomePage));
}
