#include "generator/count.h"

#include <gtest/gtest.h>

using namespace quillory;

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kFrench(QLocale::French, QLocale::France);
const QLocale kGerman(QLocale::German, QLocale::Germany);

std::optional<double> count(const char* text, const QLocale& locale = kEnglish) {
    return countFromText(QString::fromUtf8(text), locale);
}

} // namespace

TEST(CountFromText, ReadsNumbersByTheUsersLocaleThousandsSeparatorsIncluded) {
    EXPECT_EQ(count("1,000"), 1000.0);
    EXPECT_EQ(count("1,000,000"), 1'000'000.0);
    EXPECT_EQ(count("2.5"), 2.5);
    EXPECT_EQ(count("  12 "), 12.0);
    EXPECT_EQ(count("-3"), -3.0);
    EXPECT_EQ(count("1e3"), 1000.0);
    // In French the comma is the decimal sign and a (narrow no-break) space separates thousands.
    EXPECT_EQ(count("2,5", kFrench), 2.5);
    EXPECT_EQ(count("1 000", kFrench), 1000.0);
    EXPECT_EQ(count("1\u202f000", kFrench), 1000.0);
    EXPECT_EQ(count("1.000", kGerman), 1000.0);
}

TEST(CountFromText, RefusesWhatIsNotAFiniteNumber) {
    for (const char* text : {"", "   ", "abc", "12abc", "1,00", "2,5", "1 000", "nan", "inf", "0x10", "--1"})
        EXPECT_FALSE(count(text).has_value()) << text;
    EXPECT_FALSE(count("1,000.5", kFrench).has_value());
}

TEST(CountRules, AMillionPassesAndAnythingThatMakesMoreIsTooLarge) {
    EXPECT_FALSE(countTooLarge(1'000'000));
    EXPECT_FALSE(countTooLarge(1'000'000.5)); // rounds to the even million
    EXPECT_TRUE(countTooLarge(1'000'000.6));  // would make 1,000,001 names
    EXPECT_TRUE(countTooLarge(1'000'001));
    EXPECT_TRUE(countTooLarge(1e300));
    EXPECT_FALSE(countTooLarge(-1e300));
}

TEST(CountRules, RoundsHalfToEvenAndMakesNothingBelowAHalf) {
    EXPECT_EQ(namesToMake(2.5), 2);
    EXPECT_EQ(namesToMake(3.5), 4);
    EXPECT_EQ(namesToMake(2.4999), 2);
    EXPECT_EQ(namesToMake(2.5001), 3);
    EXPECT_EQ(namesToMake(0.5), 0);
    EXPECT_EQ(namesToMake(0), 0);
    EXPECT_EQ(namesToMake(-7), 0);
    EXPECT_EQ(namesToMake(-1e300), 0);
    EXPECT_EQ(namesToMake(1'000'000), 1'000'000);
}
