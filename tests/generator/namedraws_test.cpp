#include "generator/namedraws.h"

#include "core/random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

using namespace quillory;

// Drawing all three names of a pool without repeats, over 60,000 seeds: each order must come as
// often as drawing one name at a time in proportion to its weight among those left would have it
// (6, 3, 1: A first 6/10 of the time, then B 3/4 of the rest...). Weight 6 is past half the pool's
// weight, so a run that starts with it orders the rest by keys; the uniform run shuffles.
TEST(NameStream, UniqueDrawsFollowOneAtATimeDrawsAmongTheNamesLeft) {
    struct Case {
        bool weighted;
        std::map<QString, double> orders;
    } cases[] = {
        {true,
         {{"ABC", 0.6 * 3 / 4},
          {"ACB", 0.6 * 1 / 4},
          {"BAC", 0.3 * 6 / 7},
          {"BCA", 0.3 * 1 / 7},
          {"CAB", 0.1 * 6 / 9},
          {"CBA", 0.1 * 3 / 9}}},
        {false,
         {{"ABC", 1.0 / 6}, {"ACB", 1.0 / 6}, {"BAC", 1.0 / 6}, {"BCA", 1.0 / 6}, {"CAB", 1.0 / 6}, {"CBA", 1.0 / 6}}},
    };
    const DrawPool pool{{"A", "B", "C"}, {6, 3, 1}};
    const DrawPool none;
    constexpr int kRuns = 60'000;
    for (const Case& c : cases) {
        std::map<QString, int> seen;
        for (int seed = 0; seed < kRuns; ++seed) {
            RandomSource random(static_cast<std::uint64_t>(seed));
            NameStream stream(pool, none, {NamePart::FirstOnly, c.weighted, true}, random);
            ASSERT_EQ(stream.distinctNames(), 3u);
            stream.expect(3);
            QString order;
            for (int i = 0; i < 3; ++i)
                order += pool.texts[stream.next().first];
            ++seen[order];
        }
        double chiSquare = 0;
        for (const auto& [order, probability] : c.orders) {
            const double expected = kRuns * probability;
            chiSquare += (seen[order] - expected) * (seen[order] - expected) / expected;
        }
        EXPECT_LT(chiSquare, 20.5) << (c.weighted ? "weighted" : "uniform") << ": 5 degrees of freedom, p = 0.001";
    }
}

// The keys' logarithm, made of plain arithmetic so that every machine gives the same bits, against
// the system's own over the whole range a key's u takes (2^-53 to 1).
TEST(NameStream, ThePortableLogarithmAgreesWithTheSystemsToTheLastBits) {
    RandomSource random(1);
    for (int i = 0; i < 100'000; ++i) {
        const double u = static_cast<double>((random.nextBits() >> 11) + 1) * 0x1.0p-53;
        const double x = i % 2 == 0 ? u : std::ldexp(u, -static_cast<int>(random.nextBits() % 53));
        ASSERT_NEAR(portableLog(x), std::log(x), 4e-16 * std::max(1.0, std::fabs(std::log(x)))) << x;
    }
    EXPECT_EQ(portableLog(1.0), 0.0);
    EXPECT_DOUBLE_EQ(portableLog(0x1.0p-53), -53 * std::log(2.0));
}
