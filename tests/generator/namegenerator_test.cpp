#include "generator/namegenerator.h"

#include "core/random.h"

#include <gtest/gtest.h>

#include <map>

using namespace quillory;

namespace {

const QStringList kFirst = {QStringLiteral("anne"), QStringLiteral("JEAN-PIERRE"), QStringLiteral("Zoé")};
const QStringList kLast = {QStringLiteral("de la tour"), QStringLiteral("MARTIN"), QStringLiteral("l'hostis"),
                           QStringLiteral("Dupont")};

QStringList textsOf(const ListItems& names) {
    QStringList texts;
    for (qsizetype i = 0; i < names.size(); ++i)
        texts << names.text(i);
    return texts;
}

} // namespace

TEST(GenerateNames, DrawsTheLastNameFirstThenTheFirstNameFromTheSameSequence) {
    RandomSource random(42);
    const auto names = generateNames(kFirst, kLast, NamePart::FirstAndLast, 500, random);

    const QStringList cleanFirst = {QStringLiteral("Anne"), QStringLiteral("Jean-Pierre"), QStringLiteral("Zoé")};
    const QStringList cleanLast = {QStringLiteral("Delatour"), QStringLiteral("Martin"), QStringLiteral("L'Hostis"),
                                   QStringLiteral("Dupont")};
    RandomSource expected(42);
    ASSERT_EQ(names->size(), 500);
    for (qsizetype i = 0; i < names->size(); ++i) {
        const QString last = cleanLast[RandomInteger(expected, 4) - 1];
        const QString first = cleanFirst[RandomInteger(expected, 3) - 1];
        ASSERT_EQ(names->text(i), first + QLatin1Char(' ') + last) << i;
    }
    // Nothing else was drawn: the sequences are still in step.
    EXPECT_EQ(random.nextBits(), expected.nextBits());
}

TEST(GenerateNames, TakesTwoDrawsPerNameWhateverThePartAndEvenFromEmptyPools) {
    for (const NamePart part : {NamePart::FirstAndLast, NamePart::FirstOnly, NamePart::LastOnly, NamePart::None}) {
        RandomSource random(7);
        generateNames({}, kLast, part, 1000, random);
        RandomSource expected(7);
        for (int i = 0; i < 2000; ++i)
            expected.next();
        EXPECT_EQ(random.nextBits(), expected.nextBits()) << static_cast<int>(part);
    }
}

TEST(GenerateNames, EmptyPoolsGiveEmptyParts) {
    RandomSource random(1);
    const QString anne = QStringLiteral("Anne");
    EXPECT_EQ(textsOf(*generateNames({anne}, {}, NamePart::FirstAndLast, 3, random)), QStringList(3, "Anne "));
    EXPECT_EQ(textsOf(*generateNames({}, {anne}, NamePart::FirstAndLast, 3, random)), QStringList(3, " Anne"));
    EXPECT_EQ(textsOf(*generateNames({}, {}, NamePart::FirstAndLast, 3, random)), QStringList(3, " "));
    EXPECT_EQ(textsOf(*generateNames({}, {anne}, NamePart::FirstOnly, 3, random)), QStringList(3, ""));
    EXPECT_EQ(textsOf(*generateNames({anne}, {}, NamePart::LastOnly, 3, random)), QStringList(3, ""));
    // With no part of name chosen the names are drawn but none is listed.
    EXPECT_EQ(generateNames({anne}, {anne}, NamePart::None, 3, random)->size(), 0);
}

TEST(GenerateNames, KeepsOnePartAloneWithoutAnySpace) {
    RandomSource random(3);
    const auto first = textsOf(*generateNames(kFirst, kLast, NamePart::FirstOnly, 200, random));
    const auto last = textsOf(*generateNames(kFirst, kLast, NamePart::LastOnly, 200, random));
    for (const QString& name : first)
        EXPECT_TRUE(QStringList({"Anne", "Jean-Pierre", "Zoé"}).contains(name)) << name.toStdString();
    for (const QString& name : last)
        EXPECT_TRUE(QStringList({"Delatour", "Martin", "L'Hostis", "Dupont"}).contains(name)) << name.toStdString();
}

TEST(GenerateNames, NoCountMeansNoNamesAndNoProgress) {
    RandomSource random(5);
    int reports = 0;
    EXPECT_EQ(generateNames(kFirst, kLast, NamePart::FirstAndLast, 0, random, [&](int) { ++reports; })->size(), 0);
    EXPECT_EQ(generateNames(kFirst, kLast, NamePart::FirstAndLast, -4, random, [&](int) { ++reports; })->size(), 0);
    EXPECT_EQ(reports, 0);
}

TEST(GenerateNames, ReportsEachGrowthOfThePercentageUpToAHundred) {
    for (const int count : {1, 3, 99, 100, 1000, 123'457}) {
        RandomSource random(9);
        std::vector<int> reported;
        generateNames(kFirst, kLast, NamePart::FirstAndLast, count, random, [&](int p) { reported.push_back(p); });
        ASSERT_FALSE(reported.empty());
        EXPECT_LE(reported.size(), 100u) << count;
        EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
        EXPECT_EQ(std::adjacent_find(reported.begin(), reported.end()), reported.end()) << "repeated";
        EXPECT_EQ(reported.back(), 100) << count;
        if (count >= 100) {
            EXPECT_EQ(reported.size(), 100u) << count;
        }
    }
}

TEST(GenerateNames, DrawsEveryItemOfAPoolEquallyOften) {
    // Loose chi-square bound: for 9 degrees of freedom 40 lies far beyond any honest draw.
    QStringList pool;
    for (int i = 0; i < 10; ++i)
        pool << QStringLiteral("Name%1").arg(i);
    RandomSource random(2026);
    const auto names = generateNames(pool, {}, NamePart::FirstOnly, 100'000, random);
    std::map<QString, int> seen;
    for (qsizetype i = 0; i < names->size(); ++i)
        ++seen[names->text(i)];
    ASSERT_EQ(seen.size(), 10u);
    double chiSquare = 0;
    for (const auto& [name, n] : seen)
        chiSquare += (n - 10'000.0) * (n - 10'000.0) / 10'000.0;
    EXPECT_LT(chiSquare, 40.0);
}

TEST(GenerateNames, WritesTheSameLinesAsItsTexts) {
    const QStringList first = {QStringLiteral("élodie"), QStringLiteral("  "), QStringLiteral("ŒDIPE")};
    const QStringList last = {QStringLiteral("côté"), QStringLiteral("ß")};
    for (const NamePart part : {NamePart::FirstAndLast, NamePart::FirstOnly, NamePart::LastOnly}) {
        RandomSource random(11);
        const auto names = generateNames(first, last, part, 300, random);
        QByteArray fast = "head";
        names->appendLines(fast, "\r\n");
        QByteArray slow = "head";
        StringListItems(textsOf(*names)).appendLines(slow, "\r\n");
        EXPECT_EQ(fast, slow) << static_cast<int>(part);
    }
}
