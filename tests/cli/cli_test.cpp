// quillory-cli as scripts see it: the real program started as a child process, its output read back
// by independent readers (Python's csv and json modules) and judged against the data files.
#include "chisquare.h"
#include "filesizelimit.h"
#include "tempworkspace.h"
#include "unprivilegeduser.h"

#include "cli/options.h"
#include "store/namebirths.h"
#include "store/namedatabase.h"
#include "store/namestatements.h"

#include <QDate>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>

namespace quillory::test {
namespace {

struct CliResult {
    int status = -1;
    QByteArray out;
    QString err;
};

CliResult runCli(const QStringList& arguments) {
    QProcess cli;
    cli.start(QStringLiteral(QUILLORY_CLI), arguments);
    CliResult result;
    if (!cli.waitForFinished(120'000) || cli.exitStatus() != QProcess::NormalExit) {
        cli.kill();
        result.err = QStringLiteral("did not end normally");
        return result;
    }
    result.status = cli.exitCode();
    result.out = cli.readAllStandardOutput();
    result.err = QString::fromUtf8(cli.readAllStandardError());
    return result;
}

QStringList lines(const QByteArray& out) {
    QStringList all = QString::fromUtf8(out).split(u'\n');
    if (!all.isEmpty() && all.last().isEmpty())
        all.removeLast();
    return all;
}

// Records read back by Python's csv module (a header row first) or json module (one object a line).
QJsonArray readBack(const QString& path, const char* format) {
    static const char kReader[] = R"(
import csv, json, sys
if sys.argv[2] == "csv":
    with open(sys.argv[1], newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f, strict=True))
else:
    with open(sys.argv[1], encoding="utf-8") as f:
        rows = [json.loads(line) for line in f.read().split("\n") if line]
        rows = [[r.get("first_name"), r.get("last_name")] for r in rows]
json.dump(rows, sys.stdout)
)";
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QString::fromUtf8(kReader), path, QString::fromLatin1(format)});
    python.waitForFinished(60'000);
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(python.readAllStandardOutput()).array();
}

// Records of a CSV file as RFC 4180 has them, and nothing else: a field is quoted (quotes inside
// doubled) or holds no quote, comma, CR or LF; records end in CR LF. Python's reader is kinder: it
// takes a bare quote inside a field, which other readers split or refuse. Nothing when the text
// breaks a rule.
std::optional<QList<QStringList>> strictCsv(const QString& text) {
    QList<QStringList> records;
    QStringList record;
    QString field;
    qsizetype i = 0;
    const auto endField = [&] { record << std::exchange(field, QString()); };
    while (i < text.size()) {
        if (text[i] == u'"') {
            for (++i;; ++i) {
                if (i >= text.size())
                    return std::nullopt;
                if (text[i] == u'"') {
                    if (i + 1 < text.size() && text[i + 1] == u'"') {
                        field += u'"';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text[i];
            }
        } else {
            for (; i < text.size() && text[i] != u',' && text[i] != u'\r'; ++i) {
                if (text[i] == u'"' || text[i] == u'\n')
                    return std::nullopt;
                field += text[i];
            }
        }
        if (i < text.size() && text[i] == u',') {
            endField();
            ++i;
        } else if (text.mid(i, 2) == QStringLiteral("\r\n")) {
            endField();
            records << std::exchange(record, QStringList());
            i += 2;
        } else {
            return std::nullopt;
        }
    }
    return records;
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override { workspace.installBuiltInNames(); }

    // The built-in names as the build made them, whatever the user has done to the program's own.
    QStringList builtIn(QStringList arguments) const {
        return arguments << QStringLiteral("--database") << workspace.nameDatabase();
    }

    // A names.mdb of a few first names and made-up births: Anne (100 girls in 2010–2019), Zoé (50 girls
    // in 2020–2024), Lise (1,000 girls in 1990–1999), Paul (100,000 boys in 2010–2019), and Manon, added
    // by the user, with none. Nobody was born in 1900.
    QString makeUpBirths() const {
        const QString file = workspace.path(QStringLiteral("made-up.mdb"));
        NameDatabase::create(file);
        NameDatabase database(file);
        database.open();
        for (const char* name : {"Anne", "Zo\u00e9", "Lise", "Manon"})
            database.execute(statements::kInsertSystemFirstName, {QString::fromUtf8(name)});
        database.execute("insert into system_mfirstname (Mfirst) values ('Paul')");
        database.execute(statements::kInsertSystemLastName, {QStringLiteral("Martin")});
        replaceFirstNameBirths(database, {{QStringLiteral("Anne"), 'F', 2010, 2019, 100},
                                          {QStringLiteral("Zo\u00e9"), 'F', 2020, 2024, 50},
                                          {QStringLiteral("Lise"), 'F', 1990, 1999, 1000},
                                          {QStringLiteral("Paul"), 'M', 2010, 2019, 100000}});
        return file;
    }

    TempWorkspace workspace;
};

// The whole output of a seed is a promise to every script that stored one: with the same names it
// never changes. Version 2 of the built-in names respelt 327 surnames (and each built-in name now
// weighs its own births, not those of a name alike): the runs that draw them were pinned again, and
// those that draw none of them (first names alone, lists from a file, and "--seed 2026 --unique",
// whose surnames were not respelt) are as they were pinned before: the algorithm did not move.
TEST_F(CliTest, ASeedGivesTheSameOutputForEver) {
    struct Golden {
        QStringList arguments;
        QByteArray output;
    } golden[9] = {
        {{"-n", "5", "--seed", "42"},
         "Ilane Besnier\n"
         "Tifanny Meffre\n"
         "Parfait Wehrle\n"
         "Scotty Mouton\n"
         "Ma\xc3\xabline Peign\xc3\xa9\n"},
        {{"-n", "5", "--seed", "7", "--part", "first", "--gender", "female", "--weighted"},
         "M\xc3\xa9lyne\n"
         "Esther\n"
         "Patricia\n"
         "Virginie\n"
         "Zehra\n"},
        {{"-n", "5", "--seed", "2026", "--unique", "--format", "csv"},
         "first_name,last_name\r\n"
         "Assia,Larrouy\r\n"
         "Mika,Defaux\r\n"
         "Estelle,Puget\r\n"
         "Da\xc3\xafna,Segard\r\n"
         "Anna\xc3\xafg,Pubert\r\n"},
        {{"-n", "5", "--seed", "18446744073709551615", "--part", "last", "--weighted", "--unique", "--strip-spaces",
          "--crlf"},
         "Lavergne\r\n"
         "P\xc3\xa9ron\r\n"
         "Hinfray\r\n"
         "No\xc3\xabl\r\n"
         "Lampin\r\n"},
        {{"-n", "5", "--seed", "42", "--born", "2000-2009"},
         "Ilias Besnard\n"
         "Thibaut Mas\n"
         "Patrick Vincent\n"
         "Romain Mousset\n"
         "Lucas Peign\xc3\xa9\n"},
        {{"-n", "5", "--seed", "1954", "--born", "1954", "--part", "first", "--gender", "female", "--unique"},
         "Lucette\n"
         "Martine\n"
         "Marie-Line\n"
         "Fran\xc3\xa7oise\n"
         "Christine\n"},
        {{"-n", "5", "--seed", "2020", "--born", "2018-2022", "--format", "csv"},
         "first_name,last_name\r\n"
         "Fabio,Bouyer\r\n"
         "Alban,Porte\r\n"
         "Kenza,Lebas\r\n"
         "Kenan,Blain\r\n"
         "Margaux,Baroni\r\n"},
    };
    // Six names of equal weight: five of them take the shuffle without repeats, and the weighted draw
    // without repeats past half the weight.
    const QString six =
        workspace.writeFile(QStringLiteral("six.txt"), "Ange\nBasile\nC\xc3\xa9leste\nDorian\n\xc3\x89mile\nFlore\n");
    const QStringList fromSix{"-n", "5", "--seed", "11", "--part", "first", "--unique", "--first-names", six};
    golden[7] = {fromSix, "Basile\n"
                          "Ange\n"
                          "C\xc3\xa9leste\n"
                          "\xc3\x89mile\n"
                          "Dorian\n"};
    golden[8] = {QStringList(fromSix) << "--weighted", "Basile\n"
                                                       "\xc3\x89mile\n"
                                                       "C\xc3\xa9leste\n"
                                                       "Ange\n"
                                                       "Dorian\n"};
    for (const auto& [arguments, output] : golden) {
        const CliResult result = runCli(builtIn(arguments));
        EXPECT_EQ(result.status, 0) << result.err.toStdString();
        EXPECT_EQ(result.out, output) << arguments.join(u' ').toStdString();
    }
}

// Names that need quoting or escaping come back whole through csv and json readers of their own, and
// record for record the same as the text form of the same seed.
TEST_F(CliTest, CsvAndJsonLinesReadBackAsTheTextOfTheSameSeed) {
    const QString first =
        workspace.writeFile(QStringLiteral("first.txt"), "Zo\xc3\xa9\nJean, Marie\nLe \"Grand\"\nAnne\tSophie\n");
    const QString last =
        workspace.writeFile(QStringLiteral("last.txt"), "O\"Brien\nDa Silva\nBack\\slash\n\xf0\x9f\x98\x80x\n");
    const QStringList common{"-n", "300", "--seed", "5", "--first-names", first, "--last-names", last};

    const CliResult text = runCli(common);
    ASSERT_EQ(text.status, 0) << text.err.toStdString();
    const QStringList textLines = lines(text.out);
    ASSERT_EQ(textLines.size(), 300);
    QSet<QString> seen(textLines.begin(), textLines.end());
    EXPECT_EQ(seen.size(), 16) << "every pair of 4 × 4 names in 300 draws";

    for (const char* format : {"csv", "jsonl"}) {
        const QString path = workspace.path(QStringLiteral("names.") + QLatin1String(format));
        const CliResult result = runCli(QStringList(common) << "--format" << format << "-o" << path);
        ASSERT_EQ(result.status, 0) << result.err.toStdString();
        QJsonArray records = readBack(path, format);
        if (QLatin1String(format) == QLatin1String("csv")) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const std::optional<QList<QStringList>> strict = strictCsv(QString::fromUtf8(file.readAll()));
            ASSERT_TRUE(strict.has_value()) << "not RFC 4180";
            ASSERT_EQ(strict->size(), 301);
            for (int i = 0; i < 300; ++i)
                EXPECT_EQ(strict->at(i + 1).join(u' '), textLines[i]) << "strict record " << i;
            ASSERT_FALSE(records.isEmpty());
            EXPECT_EQ(records.first().toArray(), QJsonArray({"first_name", "last_name"}));
            records.removeFirst();
        }
        ASSERT_EQ(records.size(), 300) << format;
        for (int i = 0; i < 300; ++i) {
            const QJsonArray record = records[i].toArray();
            EXPECT_EQ(record[0].toString() + u' ' + record[1].toString(), textLines[i]) << format << " record " << i;
        }
    }
}

// 200,000 weighted first names against the births in data/: a first name of both lists weighs the
// sum of both counts.
TEST_F(CliTest, WeightedDrawsFollowTheBirthCounts) {
    const QHash<QString, double> births = firstNameBirthsInData([](const QString& name) { return name; });
    ASSERT_FALSE(births.isEmpty());
    const CliResult result = runCli(builtIn({"-n", "200000", "--seed", "9", "--part", "first", "--weighted"}));
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_LT(chiSquareOfTop(births, lines(result.out), 40), 73.4) << "40 degrees of freedom, p = 0.001";

    // A name of the user's, without a count, weighs as much as the least common built-in last name:
    // drawn beside it, each comes half the time.
    QFile counts(QStringLiteral(QUILLORY_SOURCE_DIR "/data/last_names_counts.tsv"));
    ASSERT_TRUE(counts.open(QIODevice::ReadOnly));
    QByteArray least;
    double leastBirths = 0;
    for (const QByteArray& line : counts.readAll().split('\n'))
        if (const QList<QByteArray> fields = line.split('\t');
            fields.size() == 2 && (least.isEmpty() || fields[1].toDouble() < leastBirths))
            least = fields[0], leastBirths = fields[1].toDouble();
    const QString two = workspace.writeFile(QStringLiteral("two.txt"), least + "\nZzyzxqa\n");
    const CliResult pair = runCli({"-n", "20000", "--seed", "4", "--part", "last", "--weighted", "--last-names", two});
    ASSERT_EQ(pair.status, 0) << pair.err.toStdString();
    const auto mine = lines(pair.out).count(QStringLiteral("Zzyzxqa"));
    EXPECT_NEAR(mine, 10000, 400) << "beside " << least.toStdString() << " (" << leastBirths << " births)";
}

// 100,000 first names born in the 2000s, and in the 1950s, against the births of that decade in the
// data file, both sexes together: the most given names of those years and the rest.
TEST_F(CliTest, BornDrawsTheFirstNamesGivenInThoseYears) {
    QFile file(QStringLiteral(QUILLORY_SOURCE_DIR "/data/first_names_by_decade.tsv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = file.readAll().split('\n');
    const QList<QByteArray> header = rows.first().split('\t');
    for (const char* decade : {"2000", "1950"}) {
        const qsizetype column = header.indexOf(decade);
        ASSERT_GT(column, 1);
        QHash<QString, double> births;
        QSet<QString> givenThen;
        for (const QByteArray& row : rows.mid(1)) {
            const QList<QByteArray> fields = row.split('\t');
            if (fields.size() == header.size())
                births[QString::fromUtf8(fields[0])] += fields[column].toDouble();
        }
        for (auto it = births.cbegin(); it != births.cend(); ++it)
            if (it.value() > 0)
                givenThen.insert(it.key());
        ASSERT_LT(givenThen.size(), births.size()) << "some names were not given then";

        const QString years = QLatin1String(decade) + u'-' + QString::number(QByteArray(decade).toInt() + 9);
        const CliResult result = runCli(builtIn({"-n", "100000", "--seed", "3", "--part", "first", "--born", years}));
        ASSERT_EQ(result.status, 0) << result.err.toStdString();
        const QStringList drawn = lines(result.out);
        EXPECT_LT(chiSquareOfTop(births, drawn, 40), 73.4) << years.toStdString() << ": 40 degrees of freedom";
        QSet<QString> distinct(drawn.begin(), drawn.end());
        EXPECT_TRUE(distinct.subtract(givenThen).isEmpty())
            << years.toStdString() << ": drawn though not given then: " << distinct.values().join(u' ').toStdString();
    }
}

// Every single year that --born takes draws only names given in the period holding it (read from
// data/ on its own: a name with births in that decade, 2020 standing for 2020-2024), whichever sex;
// a range that starts and ends on a period's edges draws from exactly the names of those periods;
// the years just outside are refused.
TEST_F(CliTest, BornTakesEverySingleYearAndRefusesTheYearsOutside) {
    QFile file(QStringLiteral(QUILLORY_SOURCE_DIR "/data/first_names_by_decade.tsv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = file.readAll().split('\n');
    const QList<QByteArray> header = rows.first().split('\t');
    QHash<int, QSet<QString>> givenIn; // by the period's first year
    for (const QByteArray& row : rows.mid(1)) {
        const QList<QByteArray> fields = row.split('\t');
        if (fields.size() != header.size())
            continue;
        for (qsizetype column = 2; column < header.size(); ++column)
            if (fields[column].toLongLong() > 0)
                givenIn[header[column].toInt()].insert(QString::fromUtf8(fields[0]));
    }
    ASSERT_EQ(givenIn.size(), 13);
    const auto drawnIn = [&](const QString& years) {
        const CliResult result = runCli(builtIn({"-n", "300", "--seed", "5", "--part", "first", "--born", years}));
        EXPECT_EQ(result.status, 0) << years.toStdString() << ": " << result.err.toStdString();
        const QStringList drawn = lines(result.out);
        EXPECT_EQ(drawn.size(), 300) << years.toStdString();
        return QSet<QString>(drawn.begin(), drawn.end());
    };
    for (int year = 1900; year <= 2024; ++year) {
        QSet<QString> outside = drawnIn(QString::number(year));
        outside.subtract(givenIn[year - year % 10]);
        EXPECT_TRUE(outside.isEmpty()) << year << ": drawn though not given then: "
                                       << outside.values().join(u' ').toStdString();
    }
    for (const auto& [from, to] : {std::pair{1900, 1919}, std::pair{1990, 2024}, std::pair{1950, 1959}}) {
        QSet<QString> given;
        for (int period = from; period <= to; period += 10)
            given.unite(givenIn[period]);
        QSet<QString> outside = drawnIn(QStringLiteral("%1-%2").arg(from).arg(to));
        outside.subtract(given);
        EXPECT_TRUE(outside.isEmpty()) << from << "-" << to << ": " << outside.values().join(u' ').toStdString();
    }
    for (const char* years : {"1899", "2025", "1899-1900", "2024-2025"}) {
        const CliResult refused = runCli(builtIn({"-n", "1", "--born", years}));
        EXPECT_EQ(refused.status, 2) << years;
        EXPECT_TRUE(refused.err.contains(QStringLiteral("the years of birth run from 1900 to 2024")))
            << refused.err.toStdString();
    }
}

// A made-up table: a period the years cover in part counts in proportion to the years covered, and
// names nobody of that sex was given then (or that have no births at all) are never drawn.
TEST_F(CliTest, BornCountsAPartOfAPeriodByItsYearsAndNeverDrawsTheUnborn) {
    const QString madeUp = makeUpBirths();
    const CliResult result = runCli({"--database", madeUp, "-n", "16000", "--seed", "8", "--part", "first", "--gender",
                                     "female", "--born", "2015-2022"});
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    QHash<QString, int> drawn;
    for (const QString& name : lines(result.out))
        ++drawn[name];
    // Anne: 100 births in 2010–2019, five years of ten: 50. Zoé: 50 in 2020–2024, three of five: 30.
    EXPECT_EQ(QSet<QString>(drawn.keyBegin(), drawn.keyEnd()), QSet<QString>({"Anne", "Zo\u00e9"}));
    const double anne = 16000.0 * 50 / 80;
    const double chiSquare =
        (drawn.value("Anne") - anne) * (drawn.value("Anne") - anne) / anne +
        (drawn.value("Zo\u00e9") - (16000 - anne)) * (drawn.value("Zo\u00e9") - (16000 - anne)) / (16000 - anne);
    EXPECT_LT(chiSquare, 10.83) << "1 degree of freedom, p = 0.001; Anne " << drawn.value("Anne");
}

// Whatever the options, --unique never prints a record twice, gives every record it can when asked
// for all, and refuses one more. Lists with copies, letter-case variants and first names with a
// space, whose joined lines two pairs can print ("Jean Le" + "Gall" = "Jean" + "Le Gall").
TEST_F(CliTest, UniqueNeverRepeatsAPrintedNameWhateverTheOptions) {
    const QString first = workspace.writeFile(QStringLiteral("first.txt"),
                                              "Jean\nJean Le\nMARIE\nmarie\nMarie\nAnne Marie\nAnne\nLuc\nJean\n");
    const QString last =
        workspace.writeFile(QStringLiteral("last.txt"), "Gall\nLe Gall\nMarie Durand\nDurand\nRoux\nRoux\n");
    // What each part prints, and every line that a pair of them prints, worked out by hand.
    const QStringList firstTexts{"Jean", "Jean Le", "Marie", "Anne Marie", "Anne", "Luc"};
    const QStringList lastTexts{"Gall", "Le Gall", "Marie Durand", "Durand", "Roux"};
    QSet<QString> joinedLines;
    for (const QString& f : firstTexts)
        for (const QString& l : lastTexts)
            joinedLines.insert(f + u' ' + l);
    ASSERT_EQ(joinedLines.size(), 28); // 30 pairs; two lines are printed by two pairs each

    std::mt19937 pick(20261208);
    // The first rounds draw joined lines, as text and as the full_name of people, by redrawing repeats
    // (half the lines) and by the shuffle or the keys (all of them), uniformly and weighted; the rest
    // are drawn at random.
    for (int round = 0; round < 32; ++round) {
        const bool fixed = round < 8;
        const bool weighted = fixed ? round % 2 == 0 : pick() % 2 == 0;
        const int shape = fixed ? (round < 4 ? 0 : 4) : static_cast<int>(pick() % 5);
        QStringList arguments{"--unique", "--seed", QString::number(pick())};
        // Each list only where its part is drawn.
        if (shape != 3)
            arguments << "--first-names" << first;
        // shape 4: people whose full_name joins the parts; the lines it can make are the text's.
        if (shape != 2)
            arguments << "--last-names" << last;
        if (weighted)
            arguments << "--weighted";
        int possible = 0;
        switch (shape) {
        case 0:
            possible = static_cast<int>(joinedLines.size());
            break;
        case 1:
            arguments << "--format"
                      << "csv";
            possible = 30;
            break;
        case 2:
            arguments << "--part"
                      << "first";
            possible = 6;
            break;
        case 3:
            arguments << "--part"
                      << "last";
            possible = 5;
            break;
        default:
            arguments << "--format"
                      << "csv"
                      << "--fields"
                      << "full_name,sex";
            possible = static_cast<int>(joinedLines.size());
            break;
        }
        const int count = fixed             ? (round % 4 < 2 ? possible / 2 : possible)
                          : pick() % 3 == 0 ? possible
                                            : 1 + static_cast<int>(pick() % possible);
        const QString context = arguments.join(u' ') + QStringLiteral(" -n ") + QString::number(count);

        const CliResult result = runCli(QStringList(arguments) << "-n" << QString::number(count));
        ASSERT_EQ(result.status, 0) << context.toStdString() << ": " << result.err.toStdString();
        QStringList records = lines(result.out);
        if (shape == 1 || shape == 4)
            records.removeFirst();
        if (shape == 4) {
            for (QString& record : records)
                record = record.section(u',', 0, 0);
        }
        EXPECT_EQ(records.size(), count) << context.toStdString();
        const QSet<QString> distinct(records.begin(), records.end());
        EXPECT_EQ(distinct.size(), records.size()) << context.toStdString();
        if (shape == 0 || shape == 4) {
            for (const QString& record : records)
                EXPECT_TRUE(joinedLines.contains(record)) << record.toStdString();
        }

        const CliResult tooMany = runCli(QStringList(arguments) << "-n" << QString::number(possible + 1));
        EXPECT_EQ(tooMany.status, 2) << context.toStdString();
        EXPECT_TRUE(tooMany.err.contains(QStringLiteral("give %1 different names").arg(possible)))
            << tooMany.err.toStdString();
        EXPECT_TRUE(tooMany.out.isEmpty());
    }
}

// What a script sees when something is wrong: the status, one line naming the culprit, and no file.
TEST_F(CliTest, EveryFailureHasItsStatusItsLineAndLeavesNoFile) {
    const QString earlier = workspace.writeFile(QStringLiteral("out/earlier.txt"), "the earlier file\n");
    const QString missingFolder = workspace.path(QStringLiteral("missing/names.txt"));
    const struct {
        QStringList arguments;
        int status;
        QString message;
        QString leftAlone; // a file that must be as it was
    } cases[] = {
        {{"--frobnicate"}, 2, "unknown option '--frobnicate'", {}},
        {{"-n", "2147483648"}, 2, "invalid count '2147483648'", {}},
        {{"-n", "12abc"}, 2, "invalid count '12abc'", {}},
        {{"--source", "user", "--gender", "male"}, 2, "--gender", {}},
        {{"--format", "xlsx"}, 2, "needs an output file (-o FILE)", {}},
        {{"--part", "first", "--unique", "-n", "4911"}, 2, "give 4910 different names, not 4911", {}},
        {{"--born", "1899"}, 2, "--born 1899: the years of birth run from 1900 to 2024", {}},
        {{"--born", "2009-2000"}, 2, "--born 2009-2000: the range runs backwards", {}},
        {{"--born", "1990s"}, 2, "invalid value '1990s' for --born", {}},
        {{"--born", "2000", "--source", "user"}, 2, "--born draws from Halvard's List only", {}},
        {{"--database", makeUpBirths(), "--born", "1900", "--gender", "female"},
         2,
         "--born 1900: no female first names were given in those years",
         {}},
        {{"--age", "111"}, 2, "--age 111: ages run from 0 to 110", {}},
        {{"--age", "65-18"}, 2, "--age 65-18: the range runs backwards (write 18-65)", {}},
        {{"--age", "3", "--on", "2026-02-30"}, 2, "invalid value '2026-02-30' for --on", {}},
        {{"--alive", "--on", "1899-12-31"}, 2, "--on 1899-12-31: the days run from 1900-01-01", {}},
        {{"--alive", "--on", "2025-12-31"}, 2, "--alive takes that day or a later one", {}},
        {{"--on", "2026-06-01"}, 2, "--on 2026-06-01: the day of --alive and --age; give one of them", {}},
        {{"--alive", "--age", "0", "--on", "2030-01-01"}, 2, "nobody alive then is of those ages", {}},
        {{"--age", "0"}, 2, "--age 0: nobody of those ages on 2026-01-01 was born in 1900 to 2024", {}},
        {{"--alive", "--first-names", workspace.writeFile(QStringLiteral("girls.txt"), "Ambre\nJade\n")},
         2,
         "girls.txt was given to girls born in 1910-1919",
         {}},
        {{"--alive", "--unique", "--part", "first", "--gender", "F", "-n", "2700"}, 2, "was drawn 1000 times", {}},
        {{"--format", "csv", "--fields", "first_name,age"}, 2, "unknown field 'age' for --fields", {}},
        {{"--format", "jsonl", "--fields", "email,sex,email"}, 2, "field 'email' given twice in --fields", {}},
        {{"--fields", "first_name,email"}, 2, "--fields first_name,email: text prints names alone", {}},
        {{"--database", workspace.path(QStringLiteral("none.mdb"))}, 1, "unable to open database file", {}},
        {{"--first-names", workspace.path(QStringLiteral("none.txt"))}, 1, "none.txt: No such file or directory", {}},
        {{"-o", missingFolder}, 1, "missing/names.txt: No such file or directory", {}},
        {{"-n", "1000000", "-o", earlier}, 1, "earlier.txt: File too large", earlier},
        // Small enough to be written in one piece at the end: the last write is the one that fails.
        {{"-n", "20000", "-o", earlier}, 1, "earlier.txt: File too large", earlier},
        {{"-n", "1000000", "--format", "xlsx", "-o", earlier}, 1, "earlier.txt:", earlier},
    };
    const FileSizeLimit limit(256 * 1024); // the child processes inherit it
    for (const auto& [arguments, status, message, leftAlone] : cases) {
        const QStringList full = arguments.contains(QStringLiteral("--database")) ? arguments : builtIn(arguments);
        const CliResult result = runCli(full);
        const std::string context = arguments.join(u' ').toStdString();
        EXPECT_EQ(result.status, status) << context;
        EXPECT_TRUE(result.err.startsWith(QStringLiteral("quillory-cli: ")) && result.err.contains(message))
            << context << ": " << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty()) << context;
        if (!leftAlone.isEmpty()) {
            QFile file(leftAlone);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), "the earlier file\n") << context;
        }
    }
    EXPECT_EQ(QDir(workspace.path(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{"earlier.txt"});
    EXPECT_FALSE(QFile::exists(missingFolder));
}

// Installed, the program reads the births by years from its own names.mdb, in a folder the user may
// not write (run as nobody when the tests run as root): a user's copy that an older version made,
// without them, draws the same names and is left as it was.
TEST_F(CliTest, AnInstalledProgramTakesTheBirthsByYearsFromItsOwnNames) {
    const QString program = workspace.programFolder();
    const QDir built = QFileInfo(QStringLiteral(QUILLORY_CLI)).dir();
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUILLORY_CLI), program + QStringLiteral("/quillory-cli")));
    ASSERT_TRUE(QFile::copy(built.filePath(QStringLiteral("births.tsv")), program + QStringLiteral("/births.tsv")));
    workspace.writeFile(QStringLiteral("program/INSTALLED"), "");
    const QString home = workspace.path(QStringLiteral("home"));
    const QString copy = home + QStringLiteral("/.local/share/Obrenna/Quillory/names.mdb");
    QDir().mkpath(QFileInfo(copy).path());
    ASSERT_TRUE(QFile::copy(workspace.nameDatabase(), copy));
    {
        NameDatabase older(copy);
        older.open();
        older.execute("drop table system_firstnamebirths");
    }
    const QByteArray olderBytes = [&] {
        QFile file(copy);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();

    std::optional<UnprivilegedUser> user(std::in_place, workspace.root(), program, home);
    const QStringList command = user->command({program + QStringLiteral("/quillory-cli")});
    QProcess cli;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.remove(QStringLiteral("XDG_DATA_HOME"));
    cli.setProcessEnvironment(environment);
    cli.start(command.first(), command.mid(1) + QStringList{"-n", "5", "--seed", "42", "--born", "2000-2009"});
    ASSERT_TRUE(cli.waitForFinished(60'000));
    user.reset();
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    EXPECT_EQ(cli.readAllStandardOutput(), runCli(builtIn({"-n", "5", "--seed", "42", "--born", "2000-2009"})).out);
    QFile after(copy);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_TRUE(after.readAll() == olderBytes) << "the user's copy was changed";
    EXPECT_FALSE(QFile::exists(workspace.nameDatabase() + QStringLiteral("-shm")));
}

// A copy of names.mdb made by version 1 of the built-in names is read respelt, exactly as the window
// will respell it: the same names in the same order as version 2's, so the same output for a seed;
// and the file is left as it was, byte for byte.
TEST_F(CliTest, AnOlderCopyIsReadRespeltAndLeftAsItIs) {
    const QString copy = workspace.installVersion1Names(workspace.path(QStringLiteral("version1.mdb")));
    const auto bytesOf = [](const QString& file) {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    };
    const QByteArray before = bytesOf(copy);
    const QStringList uniform{"-n", "3000", "--seed", "5", "--part", "last"};
    const CliResult old = runCli(QStringList(uniform) << "--database" << copy);
    ASSERT_EQ(old.status, 0) << old.err.toStdString();
    EXPECT_EQ(old.out, runCli(builtIn(uniform)).out);
    const QStringList weighted =
        lines(runCli({"-n", "3000", "--seed", "6", "--part", "last", "--weighted", "--database", copy}).out);
    EXPECT_TRUE(weighted.contains(QStringLiteral("Lef\u00e8vre")));
    EXPECT_FALSE(weighted.contains(QStringLiteral("Lefevre")));
    EXPECT_TRUE(bytesOf(copy) == before) << "the older copy was changed";
    EXPECT_FALSE(QFile::exists(copy + QStringLiteral("-wal")) || QFile::exists(copy + QStringLiteral("-shm")));
}

// 200,000 weighted last names against the births in data/, read on their own: the common surnames
// come out with their accents, as often as people bear them.
TEST_F(CliTest, WeightedSurnamesComeWithTheirAccentsAsOftenAsTheyAreBorne) {
    QHash<QString, double> births;
    QFile counts(QStringLiteral(QUILLORY_SOURCE_DIR "/data/last_names_counts.tsv"));
    ASSERT_TRUE(counts.open(QIODevice::ReadOnly));
    for (const QByteArray& line : counts.readAll().split('\n'))
        if (const QList<QByteArray> fields = line.split('\t'); fields.size() == 2)
            births[QString::fromUtf8(fields[0])] += fields[1].toDouble();
    ASSERT_GT(births.value(QStringLiteral("Lef\u00e8vre")), 0.0);
    const CliResult result = runCli(builtIn({"-n", "200000", "--seed", "12", "--part", "last", "--weighted"}));
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    const QStringList drawn = lines(result.out);
    EXPECT_LT(chiSquareOfTop(births, drawn, 40), 73.4) << "40 degrees of freedom, p = 0.001";
    for (const char* accented : {"Lef\u00e8vre", "Gu\u00e9rin", "Rivi\u00e8re", "Pr\u00e9vost"})
        EXPECT_GT(drawn.count(QString::fromUtf8(accented)), 50) << accented;
    for (const char* bare : {"Lefevre", "Guerin", "Riviere", "Prevost"})
        EXPECT_EQ(drawn.count(QString::fromUtf8(bare)), 0) << bare;
}

// Every field of a person is a promise too: the rows of a seed never change.
TEST_F(CliTest, FieldsGiveTheSameRowsForEver) {
    const QString first = workspace.writeFile(QStringLiteral("jp.txt"), "Jean-Pierre\n\xc5\x92none\n");
    const QString last = workspace.writeFile(QStringLiteral("lg.txt"), "Le Gall\nD\xc3\xa9sir\xc3\xa9\n");
    const struct {
        QStringList arguments;
        QByteArray output;
    } golden[] = {
        {{"-n", "3", "--seed", "42", "--format", "csv", "--fields",
          "first_name,last_name,full_name,sex,birth_year,birth_date,title,initials,email,first_name_ascii,"
          "last_name_ascii"},
         "first_name,last_name,full_name,sex,birth_year,birth_date,title,initials,email,first_name_ascii,"
         "last_name_ascii\r\n"
         "Ilane,Besnier,Ilane Besnier,M,2017,2017-12-02,M.,I. B.,ilane.besnier@example.net,Ilane,Besnier\r\n"
         "Tifanny,Meffre,Tifanny Meffre,F,1992,1992-08-31,Mme,T. M.,tifanny.meffre@example.org,Tifanny,Meffre\r\n"
         "Parfait,Wehrle,Parfait Wehrle,M,1960,1960-06-03,M.,P. W.,parfait.wehrle@example.org,Parfait,Wehrle\r\n"},
        {{"-n", "3", "--seed", "1954", "--born", "1954", "--gender", "female", "--unique", "--format", "jsonl",
          "--fields", "full_name,sex,birth_year,birth_date,title,initials,email"},
         R"({"full_name":"Martine Le Bras","sex":"F","birth_year":1954,"birth_date":"1954-10-30","title":"Mme","initials":"M. L. B.","email":"martine.lebras@example.net"})"
         "\n"
         R"({"full_name":"Fran)"
         "\xc3\xa7"
         R"(oise Massardier","sex":"F","birth_year":1954,"birth_date":"1954-12-28","title":"Mme","initials":"F. M.","email":"francoise.massardier@example.net"})"
         "\n"
         R"({"full_name":"Martine Cottet","sex":"F","birth_year":1954,"birth_date":"1954-06-09","title":"Mme","initials":"M. C.","email":"martine.cottet@example.org"})"
         "\n"},
        {{"-n", "4", "--seed", "42", "--alive"},
         "Gilles Besnard\nTom Mas\nM\xc3\xa9lanie Vincent\nS\xc3\xa9"
         "bastien Mousset\n"},
        {{"-n", "3", "--seed", "42", "--alive", "--age", "18-80", "--on", "2031-07-14", "--format", "csv", "--fields",
          "full_name,sex,birth_date,title,email"},
         "full_name,sex,birth_date,title,email\r\n"
         "Gilles Besnard,M,1950-10-08,M.,gilles.besnard@example.org\r\n"
         "Sylvain Mas,M,1960-05-13,M.,sylvain.mas@example.net\r\n"
         "M\xc3\xa9lanie Vincent,F,1988-03-15,Mme,melanie.vincent@example.net\r\n"},
        {{"-n", "3", "--seed", "7", "--age", "10-30", "--on", "2020-02-29", "--format", "jsonl", "--fields",
          "first_name,sex,birth_date,title"},
         R"({"first_name":"Fabiola","sex":"F","birth_date":"1995-04-21","title":"Mme"})"
         "\n"
         R"({"first_name":"Youssra","sex":"F","birth_date":"2006-04-13","title":null})"
         "\n"
         R"({"first_name":"Samuel","sex":"M","birth_date":"2004-02-25","title":null})"
         "\n"},
        // Every field: the places come from a third sequence and change none of the fields before them.
        {{"-n", "2", "--seed", "42", "--format", "csv", "--fields",
          "first_name,last_name,full_name,sex,birth_year,birth_date,title,initials,email,first_name_ascii,"
          "last_name_ascii,birth_place,birth_department,street,postcode,city,department,address,phone,"
          "phone_international,mobile,mobile_international,nir"},
         "first_name,last_name,full_name,sex,birth_year,birth_date,title,initials,email,first_name_ascii,"
         "last_name_ascii,birth_place,birth_department,street,postcode,city,department,address,phone,"
         "phone_international,mobile,mobile_international,nir\r\n"
         "Ilane,Besnier,Ilane Besnier,M,2017,2017-12-02,M.,I. B.,ilane.besnier@example.net,Ilane,Besnier,Mouy,60,7 "
         "boulevard de Verdun,87000,Limoges,87,\"7 boulevard de Verdun, 87000 Limoges\",05 36 49 66 41,+33 5 36 49 66 "
         "41,06 39 98 18 78,+33 6 39 98 18 78,117126043932109\r\n"
         "Tifanny,Meffre,Tifanny Meffre,F,1992,1992-08-31,Mme,T. M.,tifanny.meffre@example.org,Tifanny,Meffre,"
         "Boulogne-sur-Mer,62,1 rue des Meuniers,69004,Lyon,69,\"1 rue des Meuniers, 69004 Lyon\",04 65 71 85 76,+33 4 "
         "65 71 85 76,06 39 98 26 54,+33 6 39 98 26 54,292086216097995\r\n"},
        {{"-n", "2", "--seed", "9", "--ascii", "--unique", "--format", "jsonl", "--fields",
          "birth_place,street,city,address,nir"},
         R"({"birth_place":"La Fleche","street":"13 passage du Marche","city":"Nogent-sur-Marne","address":"13 passage du Marche, 94130 Nogent-sur-Marne","nir":"293077215467946"})"
         "\n"
         R"({"birth_place":"Nimes","street":"2 rue Saint-Pierre","city":"Sada","address":"2 rue Saint-Pierre, 97640 Sada","nir":"222113018929085"})"
         "\n"},
        // The mobiles alone read no places, and take the same numbers as with them.
        {{"-n", "2", "--seed", "3", "--format", "jsonl", "--fields", "sex,mobile,mobile_international"},
         R"({"sex":"F","mobile":"06 39 98 88 52","mobile_international":"+33 6 39 98 88 52"})"
         "\n"
         R"({"sex":"F","mobile":"06 39 98 35 81","mobile_international":"+33 6 39 98 35 81"})"
         "\n"},
        // Nothing to draw from the empty User List, and nothing asked for.
        {{"-n", "0", "--alive", "--source", "user"}, ""},
        {{"-n", "5", "--seed", "42", "--ascii"},
         "Ilane Besnier\nTifanny Meffre\nParfait Wehrle\nScotty Mouton\nMaeline Peigne\n"},
        {{"-n", "4", "--seed", "3", "--first-names", first, "--last-names", last, "--format", "csv", "--fields",
          "full_name,sex,birth_year,initials,email,first_name_ascii,last_name_ascii"},
         "full_name,sex,birth_year,initials,email,first_name_ascii,last_name_ascii\r\n"
         "\xc5\x92none D\xc3\xa9sir\xc3\xa9,,,\xc5\x92. D.,oenone.desire@example.net,Oenone,Desire\r\n"
         "\xc5\x92none Le Gall,,,\xc5\x92. L. G.,oenone.legall@example.org,Oenone,Le Gall\r\n"
         "Jean-Pierre Le Gall,M,1976,J.-P. L. G.,jean-pierre.legall@example.com,Jean-Pierre,Le Gall\r\n"
         "\xc5\x92none Le Gall,,,\xc5\x92. L. G.,oenone.legall@example.net,Oenone,Le Gall\r\n"},
    };
    for (const auto& [arguments, output] : golden) {
        const CliResult result = runCli(builtIn(arguments));
        EXPECT_EQ(result.status, 0) << result.err.toStdString();
        EXPECT_EQ(result.out.toStdString(), output.toStdString()) << arguments.join(u' ').toStdString();
    }
}

// 200,000 people of four first names against data/first_names_by_decade.tsv, read on its own: Kevin,
// Marcel and Léa, each given to one sex, are born in each decade as often as children of that name
// were, and never of the other sex; Camille, given to both, is a girl as often as Camilles were. Each
// date is a day of its year, each title that of its sex. --born 1954 gives 1954 alone, and --gender
// gives its sex to every name, those of both sexes included.
TEST_F(CliTest, PeopleAreBornAsChildrenOfTheirFirstNameWere) {
    QFile file(QStringLiteral(QUILLORY_SOURCE_DIR "/data/first_names_by_decade.tsv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = file.readAll().split('\n');
    const qsizetype decades = rows.first().split('\t').size() - 2;
    QHash<QString, QList<double>> given; // "Kevin M": births by decade from 1900
    for (const QByteArray& row : rows.mid(1)) {
        const QList<QByteArray> fields = row.split('\t');
        if (fields.size() == decades + 2)
            for (qsizetype d = 0; d < decades; ++d)
                given[QString::fromUtf8(fields[0] + ' ' + fields[1])].resize(decades),
                    given[QString::fromUtf8(fields[0] + ' ' + fields[1])][d] = fields[d + 2].toDouble();
    }
    const QString four = workspace.writeFile(QStringLiteral("four.txt"), "Kevin\nMarcel\nL\xc3\xa9"
                                                                         "a\nCamille\n");
    const CliResult result =
        runCli(builtIn({"-n", "200000", "--seed", "21", "--part", "first", "--first-names", four, "--format", "csv",
                        "--fields", "first_name,sex,birth_year,birth_date,title"}));
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    QHash<QString, QList<int>> born; // "Kevin M": people by decade
    int camilles = 0;
    int girlCamilles = 0;
    const QStringList people = lines(result.out).mid(1);
    ASSERT_EQ(people.size(), 200000);
    for (const QString& person : people) {
        const QStringList f = person.split(u',');
        ASSERT_EQ(f.size(), 5) << person.toStdString();
        const QDate date = QDate::fromString(f[3].trimmed(), Qt::ISODate);
        ASSERT_TRUE(date.isValid() && date.year() == f[2].toInt()) << person.toStdString();
        ASSERT_EQ(f[4].trimmed(), f[1] == u"F" ? QStringLiteral("Mme") : QStringLiteral("M.")) << person.toStdString();
        QList<int>& counts = born[f[0] + u' ' + f[1]];
        counts.resize(decades);
        ++counts[std::min<qsizetype>((date.year() - 1900) / 10, decades - 1)];
        if (f[0] == u"Camille")
            ++camilles, girlCamilles += f[1] == u"F" ? 1 : 0;
    }
    // Chi-square critical values at p = 0.001, by degrees of freedom.
    constexpr double kCritical[] = {0,     10.83, 13.82, 16.27, 18.47, 20.52, 22.46,
                                    24.32, 26.12, 27.88, 29.59, 31.26, 32.91};
    for (const char* name : {"Kevin M", "Marcel M",
                             "L\xc3\xa9"
                             "a F"}) {
        const QString key = QString::fromUtf8(name);
        const QString otherSex = key.chopped(1) + (key.endsWith(u'F') ? u'M' : u'F');
        EXPECT_FALSE(given.contains(otherSex)) << "the data gives " << name << " to one sex";
        EXPECT_FALSE(born.contains(otherSex)) << otherSex.toStdString();
        const QList<double>& births = given[key];
        const QList<int>& drawn = born[key];
        double total = 0;
        double count = 0;
        for (qsizetype d = 0; d < decades; ++d)
            total += births[d], count += drawn[d];
        double chiSquare = 0;
        int freedom = -1;
        for (qsizetype d = 0; d < decades; ++d) {
            if (births[d] == 0) {
                EXPECT_EQ(drawn[d], 0) << name << " born in the " << 1900 + 10 * d << "s, when none was";
                continue;
            }
            const double expected = count * births[d] / total;
            chiSquare += (drawn[d] - expected) * (drawn[d] - expected) / expected;
            ++freedom;
        }
        EXPECT_GT(count, 45000) << name;
        EXPECT_LT(chiSquare, kCritical[freedom]) << name << ": " << freedom << " degrees of freedom";
    }
    double girls = 0;
    double all = 0;
    for (const QString& sex : {QStringLiteral("F"), QStringLiteral("M")})
        for (const double b : given[QStringLiteral("Camille ") + sex])
            all += b, girls += sex == u"F" ? b : 0;
    const double p = girls / all;
    EXPECT_NEAR(static_cast<double>(girlCamilles) / camilles, p, 5 * std::sqrt(p * (1 - p) / camilles))
        << "within five standard deviations of the girls' share of the births";

    const CliResult in1954 =
        runCli(builtIn({"-n", "20000", "--seed", "5", "--part", "first", "--born", "1954", "--gender", "female",
                        "--format", "csv", "--fields", "sex,birth_year,title"}));
    ASSERT_EQ(in1954.status, 0) << in1954.err.toStdString();
    const QStringList bornThen = lines(in1954.out);
    EXPECT_EQ(QSet<QString>(bornThen.begin() + 1, bornThen.end()), QSet<QString>({QStringLiteral("F,1954,Mme\r")}));
    const CliResult boys = runCli(builtIn({"-n", "30000", "--seed", "6", "--part", "first", "--gender", "male",
                                           "--format", "csv", "--fields", "first_name,sex"}));
    ASSERT_EQ(boys.status, 0) << boys.err.toStdString();
    const QStringList boyRows = lines(boys.out).mid(1);
    EXPECT_TRUE(boyRows.contains(QStringLiteral("Camille,M\r")) && boyRows.contains(QStringLiteral("Dominique,M\r")));
    EXPECT_EQ(boyRows.filter(QStringLiteral(",M\r")).size(), boyRows.size());
}

// Python's datetime and csv judge the people of today against the data files, read on their own:
// each sex and completed age as often as data/population_2026.tsv counts them (the ages from 99 as
// one), the first names of the people born in the 1960s and the 2000s as often as children of each
// sex were given them then (data/first_names_by_decade.tsv), and no name to a person of a decade in
// which nobody of their sex received it (a person born on 1 January is named from the year before).
TEST_F(CliTest, TodayPeopleAreFranceAsItIsNamedAsTheirYearsWere) {
    const QString out = workspace.path(QStringLiteral("today.csv"));
    const CliResult result = runCli(builtIn({"-n", "200000", "--seed", "2026", "--alive", "--format", "csv", "--fields",
                                             "first_name,sex,birth_date", "-o", out}));
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    static const char kJudge[] = R"(
import csv, datetime, json, sys
out, population, decades = sys.argv[1:4]
on = datetime.date(2026, 1, 1)
rows = list(csv.DictReader(open(out, newline="", encoding="utf-8")))
def chi(counts, expected):
    return sum((counts.get(k, 0) - e) ** 2 / e for k, e in expected.items())
people = {}
for line in open(population, encoding="utf-8").read().splitlines()[1:]:
    age, _, men, women = line.split("\t")
    age = 99 if age == "99+" else int(age)
    people[("M", age)] = int(men)
    people[("F", age)] = int(women)
ages = {}
for r in rows:
    b = datetime.date.fromisoformat(r["birth_date"])
    age = on.year - b.year - ((on.month, on.day) < (b.month, b.day))
    key = (r["sex"], min(age, 99))
    ages[key] = ages.get(key, 0) + 1
total = sum(people.values())
report = {"ages": chi(ages, {k: len(rows) * v / total for k, v in people.items()}), "names": {}, "unborn": []}
given = {}
lines = open(decades, encoding="utf-8").read().splitlines()
years = [int(y) for y in lines[0].split("\t")[2:]]
for line in lines[1:]:
    f = line.split("\t")
    given[(f[0], f[1])] = [int(n) for n in f[2:]]
def decade(r):
    b = datetime.date.fromisoformat(r["birth_date"])
    cohort = b.year - 1 if (b.month, b.day) == (1, 1) else b.year
    return max(i for i, y in enumerate(years) if y <= cohort)
for r in rows:
    if given.get((r["first_name"], r["sex"]), [0] * len(years))[decade(r)] == 0:
        report["unborn"].append(r["first_name"] + " " + r["sex"] + " " + r["birth_date"])
for sex in "FM":
    for year in (1960, 2000):
        d = years.index(year)
        drawn = [r["first_name"] for r in rows if r["sex"] == sex and decade(r) == d]
        weights = {name: n[d] for (name, s), n in given.items() if s == sex and n[d] > 0}
        top = sorted(weights, key=weights.get, reverse=True)[:30]
        whole = sum(weights.values())
        expected = {name: len(drawn) * weights[name] / whole for name in top}
        expected["rest"] = len(drawn) - sum(expected.values())
        counts = {}
        for name in drawn:
            key = name if name in expected else "rest"
            counts[key] = counts.get(key, 0) + 1
        report["names"][sex + str(year)] = chi(counts, expected)
json.dump(report, sys.stdout)
)";
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QString::fromUtf8(kJudge), out,
                  QStringLiteral(QUILLORY_SOURCE_DIR "/data/population_2026.tsv"),
                  QStringLiteral(QUILLORY_SOURCE_DIR "/data/first_names_by_decade.tsv")});
    ASSERT_TRUE(python.waitForFinished(120'000));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    const QJsonObject report = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    EXPECT_LT(report[QStringLiteral("ages")].toDouble(), 199 + 5 * std::sqrt(2 * 199.0)) << "199 degrees of freedom";
    const QJsonObject names = report[QStringLiteral("names")].toObject();
    EXPECT_EQ(names.size(), 4);
    for (auto it = names.begin(); it != names.end(); ++it)
        EXPECT_LT(it.value().toDouble(), 59.7) << it.key().toStdString() << ": 30 degrees of freedom, p = 0.001";
    const QJsonArray unborn = report[QStringLiteral("unborn")].toArray();
    EXPECT_TRUE(unborn.isEmpty()) << QJsonDocument(unborn).toJson().left(400).toStdString();
}

// Every person's age on the day, as Python's datetime tells it from birth_date, lies in --age and the
// day of birth in --born; the title is left out exactly below 18; and the names are those the same
// run prints as text, whatever fields are asked for.
TEST_F(CliTest, AgesHoldOnTheirDayWithAndWithoutAlive) {
    const struct {
        QStringList arguments;
        const char* on;
        int youngest;
        int oldest;
        const char* earliest; // of the days of birth, both included
        const char* latest;
    } cases[] = {
        {{"--age", "18-65"}, "2026-01-01", 18, 65, "1960-01-02", "2008-01-01"},
        {{"--alive", "--age", "0"}, "2026-01-01", 0, 0, "2025-01-02", "2026-01-01"},
        {{"--alive", "--age", "16-19", "--on", "2028-02-29", "--gender", "f"},
         "2028-02-29",
         16,
         19,
         "2008-03-01",
         "2012-02-29"},
        {{"--age", "30", "--on", "2028-02-29", "--born", "1997-1998"},
         "2028-02-29",
         30,
         30,
         "1997-03-01",
         "1998-02-28"},
        {{"--alive", "--age", "104-110", "--on", "2030-07-01"}, "2030-07-01", 104, 110, "1919-07-02", "1926-07-01"},
    };
    static const char kAges[] = R"(
import csv, datetime, json, sys
on = datetime.date.fromisoformat(sys.argv[2])
rows = []
for r in csv.DictReader(open(sys.argv[1], newline="", encoding="utf-8")):
    b = datetime.date.fromisoformat(r["birth_date"])
    rows.append([on.year - b.year - ((on.month, on.day) < (b.month, b.day)), r["birth_date"], r["sex"], r["title"],
                 r["full_name"]])
json.dump(rows, sys.stdout)
)";
    for (const auto& [arguments, on, youngest, oldest, earliest, latest] : cases) {
        const std::string context = arguments.join(u' ').toStdString();
        const QString out = workspace.path(QStringLiteral("ages.csv"));
        const QStringList common{"-n", "20000", "--seed", "18"};
        const CliResult fields =
            runCli(builtIn(common + arguments +
                           QStringList{"--format", "csv", "--fields", "full_name,birth_date,sex,title", "-o", out}));
        ASSERT_EQ(fields.status, 0) << context << ": " << fields.err.toStdString();
        const CliResult text = runCli(builtIn(common + arguments));
        ASSERT_EQ(text.status, 0) << context;
        const QStringList printed = lines(text.out);
        QProcess python;
        python.start(QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral("-c"), QString::fromUtf8(kAges), out, QString::fromLatin1(on)});
        ASSERT_TRUE(python.waitForFinished(60'000));
        const QJsonArray rows = QJsonDocument::fromJson(python.readAllStandardOutput()).array();
        ASSERT_EQ(rows.size(), 20000) << context;
        const QDate first = QDate::fromString(QLatin1String(earliest), Qt::ISODate);
        const QDate last = QDate::fromString(QLatin1String(latest), Qt::ISODate);
        QDate earliestDrawn = last;
        QDate latestDrawn = first;
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const QJsonArray row = rows[i].toArray();
            const int age = row[0].toInt();
            const QDate born = QDate::fromString(row[1].toString(), Qt::ISODate);
            ASSERT_TRUE(age >= youngest && age <= oldest && born >= first && born <= last)
                << context << ": " << row[1].toString().toStdString();
            const QString title = row[2].toString() == u"F" ? QStringLiteral("Mme") : QStringLiteral("M.");
            ASSERT_EQ(row[3].toString(), age < 18 ? QString() : title)
                << context << ": " << born.toString().toStdString();
            ASSERT_EQ(row[4].toString(), printed.value(i)) << context << " row " << i;
            earliestDrawn = std::min(earliestDrawn, born);
            latestDrawn = std::max(latestDrawn, born);
        }
        // Both ends are reached, give or take a few days, when the range is wide enough to draw them often.
        if (oldest - youngest >= 3 || youngest == 0) {
            EXPECT_LE(first.daysTo(earliestDrawn), 30) << context;
            EXPECT_LE(latestDrawn.daysTo(last), 30) << context;
        }
    }
}

// 200,000 people with their places, judged by Python against data/ read on its own and against
// Debian's validators: every NIR passes python3-stdnum and carries the person's sex, year, month and
// place of birth (Corsica as 20 before 1976, the overseas départements with three digits); every
// fixed line is valid for python3-phonenumbers, in its fiction block and its département's zone;
// every mobile in 06 39 98; every postcode one of its city's, found by name and département; the
// address the other fields joined; and the départements of birth, Paris's arrondissements among
// them, as often as their people (chi-square).
TEST_F(CliTest, PlacesAgreeWithThePersonTheirDataAndTheValidators) {
    const QString out = workspace.path(QStringLiteral("places.csv"));
    const CliResult result =
        runCli(builtIn({"-n", "200000", "--seed", "31", "--alive", "--format", "csv", "--fields",
                        "sex,birth_date,birth_place,birth_department,street,postcode,city,department,address,phone,"
                        "phone_international,mobile,mobile_international,nir",
                        "-o", out}));
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    static const char kJudge[] = R"(
import csv, json, sys
import phonenumbers
from stdnum.fr import nir as nirs
out, communes_file, departments_file = sys.argv[1:4]
zones = {}
for line in open(departments_file, encoding="utf-8").read().splitlines()[1:]:
    code, _, _, zone = line.split("\t")
    zones[code] = zone
codes, postcodes, people = {}, {}, {}
for line in open(communes_file, encoding="utf-8").read().splitlines()[1:]:
    code, kind, name, city, dep, _, population, _, posts = line.split("\t")
    codes.setdefault((name, dep), set()).add(code)
    postcodes.setdefault((city, dep), set()).update(posts.split(","))
    if population and int(population) > 0:
        people[dep] = people.get(dep, 0) + int(population)
        if dep == "75":
            people[name] = int(population)
blocks = {"01": "01 99 00 ", "02": "02 61 91 ", "03": "03 53 01 ", "04": "04 65 71 ", "05": "05 36 49 "}
report = {"wrong": [], "corsica": [0, 0], "overseas": 0}
born = {}
def wrong(r, why):
    if len(report["wrong"]) < 5:
        report["wrong"].append(why + ": " + json.dumps(r, ensure_ascii=False))
rows = list(csv.DictReader(open(out, newline="", encoding="utf-8")))
for r in rows:
    n, dep = r["nir"], r["birth_department"]
    year, month = r["birth_date"][:4], r["birth_date"][5:7]
    if not nirs.is_valid(n):
        wrong(r, "invalid NIR")
    if n[0] != ("1" if r["sex"] == "M" else "2") or n[1:3] != year[2:] or n[3:5] != month:
        wrong(r, "NIR not the person's")
    expected = set()
    for code in codes.get((r["birth_place"], dep), ()):
        if code.startswith(("2A", "2B")) and int(year) < 1976:
            code = "20" + code[2:]
            report["corsica"][0] += 1
        elif code.startswith(("2A", "2B")):
            report["corsica"][1] += 1
        expected.add(code)
    if n[5:10] not in expected:
        wrong(r, "NIR not of the place of birth")
    report["overseas"] += dep.startswith("97")
    number = phonenumbers.parse(r["phone"], "FR")
    if not phonenumbers.is_valid_number(number) or phonenumbers.number_type(number) != phonenumbers.PhoneNumberType.FIXED_LINE:
        wrong(r, "not a valid fixed line")
    if not r["phone"].startswith(blocks[zones[r["department"]]]):
        wrong(r, "not the zone's fiction block")
    if r["phone_international"] != phonenumbers.format_number(number, phonenumbers.PhoneNumberFormat.INTERNATIONAL):
        wrong(r, "international form")
    if not r["mobile"].startswith("06 39 98 ") or r["mobile_international"] != "+33 6" + r["mobile"][2:]:
        wrong(r, "not the mobile block")
    if r["postcode"] not in postcodes.get((r["city"], r["department"]), ()):
        wrong(r, "postcode not the city's")
    if r["address"] != r["street"] + ", " + r["postcode"] + " " + r["city"]:
        wrong(r, "address")
    born[dep] = born.get(dep, 0) + 1
    if dep == "75":
        born[r["birth_place"]] = born.get(r["birth_place"], 0) + 1
def chi(keys, total):
    whole = sum(people[k] for k in keys)
    return sum((born.get(k, 0) - total * people[k] / whole) ** 2 / (total * people[k] / whole) for k in keys)
departments = [k for k in people if not k.startswith("Paris")]
arrondissements = [k for k in people if k.startswith("Paris")]
report["departments"] = [chi(departments, len(rows)), len(departments) - 1]
report["paris"] = [chi(arrondissements, born.get("75", 0)), len(arrondissements) - 1]
json.dump(report, sys.stdout)
)";
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromUtf8(kJudge), out,
                                                      QStringLiteral(QUILLORY_SOURCE_DIR "/data/communes.tsv"),
                                                      QStringLiteral(QUILLORY_SOURCE_DIR "/data/departements.tsv")});
    ASSERT_TRUE(python.waitForFinished(300'000));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    const QJsonObject report = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    EXPECT_TRUE(report[QStringLiteral("wrong")].toArray().isEmpty())
        << QJsonDocument(report[QStringLiteral("wrong")].toArray()).toJson().toStdString();
    const QJsonArray corsica = report[QStringLiteral("corsica")].toArray();
    EXPECT_GT(corsica[0].toInt(), 100) << "born in Corsica before 1976";
    EXPECT_GT(corsica[1].toInt(), 100) << "born in Corsica since 1976";
    EXPECT_GT(report[QStringLiteral("overseas")].toInt(), 2000);
    for (const char* key : {"departments", "paris"}) {
        const QJsonArray chi = report[QLatin1String(key)].toArray();
        const double freedom = chi[1].toDouble();
        EXPECT_LT(chi[0].toDouble(), freedom + 5 * std::sqrt(2 * freedom))
            << key << ": " << freedom << " degrees of freedom";
    }

    // Under --unique no number is given twice, where a run with repeats gives some twice.
    for (const bool unique : {false, true}) {
        QStringList arguments{"-n", "300000", "--seed", "5", "--format", "csv", "--fields", "nir"};
        if (unique)
            arguments << "--unique";
        const CliResult numbers = runCli(builtIn(arguments));
        ASSERT_EQ(numbers.status, 0) << numbers.err.toStdString();
        const QStringList given = lines(numbers.out).mid(1);
        const qsizetype distinct = QSet<QString>(given.begin(), given.end()).size();
        EXPECT_EQ(distinct == given.size(), unique) << given.size() - distinct << " given twice";
    }
}

// Each field asked alone is its column among all the others, whatever a row asks of the places
// first (what rows read is made the first time a row asks for it, on a thread of its own), with and
// without --ascii and --unique, over enough rows to make thousands of communes' texts.
TEST_F(CliTest, EachFieldAloneIsItsColumnAmongAllTheOthers) {
    const QStringList fields =
        QStringLiteral("first_name,last_name,full_name,sex,birth_year,birth_date,title,initials,email,"
                       "first_name_ascii,last_name_ascii,birth_place,birth_department,street,postcode,city,"
                       "department,address,phone,phone_international,mobile,mobile_international,nir")
            .split(u',');
    const auto records = [&](const QStringList& options, const QString& asked) {
        const CliResult result =
            runCli(builtIn(QStringList{"-n", "5000", "--seed", "8", "--format", "jsonl", "--fields", asked} + options));
        EXPECT_EQ(result.status, 0) << result.err.toStdString();
        return lines(result.out);
    };
    for (const QStringList& options : {QStringList{}, QStringList{"--ascii", "--unique", "--alive"}}) {
        const QStringList all = records(options, fields.join(u','));
        ASSERT_EQ(all.size(), 5000);
        // The last fields first, so that a row makes its places' texts in another order.
        for (auto field = fields.rbegin(); field != fields.rend(); ++field) {
            const QStringList alone = records(options, *field);
            ASSERT_EQ(alone.size(), all.size()) << field->toStdString();
            for (qsizetype row = 0; row < all.size(); ++row) {
                const auto value = [&](const QString& line) {
                    const QJsonArray value{QJsonDocument::fromJson(line.toUtf8()).object()[*field]};
                    return QJsonDocument(value).toJson(QJsonDocument::Compact).toStdString();
                };
                ASSERT_EQ(value(alone[row]), value(all[row]))
                    << field->toStdString() << " " << options.join(u' ').toStdString() << ", row " << row;
            }
        }
    }
}

// 100,000 people without repeats from names whose addresses collide (Hélène and Helene, Le Gall and
// Legall): read back by Python's csv and json, every address is pure ASCII on a reserved domain, parsed
// whole by its email package, made of the name folded as Python folds it, and given once, a taken one
// numbered with the smallest number that frees it; the JSON lines hold the same records.
TEST_F(CliTest, AddressesAreReservedAsciiParsedAndGivenOnceUnderUnique) {
    static const char* const kSyllables[] = {"be", "la", "mi", "no", "ru", "sa", "te", "vo",
                                             "di", "ka", "lu", "ze", "po", "ri", "ga"};
    QByteArray firstNames;
    QByteArray lastNames;
    for (int a = 0; a < 15; ++a)
        for (int b = 0; b < 14; ++b) {
            const QByteArray base = QByteArray(kSyllables[a]) + kSyllables[b] + "ne";
            QByteArray accented = base;
            accented.replace(base.lastIndexOf('e'), 1, "\xc3\xa9"); // é
            firstNames += base + '\n' + accented + '\n';
            lastNames += "Le " + base + '\n' + "Le" + base + '\n';
        }
    const QString first = workspace.writeFile(QStringLiteral("first.txt"), firstNames);
    const QString last = workspace.writeFile(QStringLiteral("last.txt"), lastNames);
    QStringList paths;
    for (const char* format : {"csv", "jsonl"}) {
        paths << workspace.path(QStringLiteral("people.") + QLatin1String(format));
        const CliResult result =
            runCli({"-n", "100000", "--seed", "13", "--unique", "--first-names", first, "--last-names", last,
                    "--format", format, "--fields", "first_name,last_name,email,sex,birth_year", "-o", paths.last()});
        ASSERT_EQ(result.status, 0) << result.err.toStdString();
    }
    static const char kChecker[] = R"py(
import csv, json, re, sys, unicodedata
from email.headerregistry import Address
from email.utils import parseaddr
with open(sys.argv[1], newline="", encoding="utf-8") as f:
    rows = list(csv.reader(f, strict=True))
with open(sys.argv[2], encoding="utf-8") as f:
    objects = [json.loads(line) for line in f.read().split("\n") if line]
assert rows[0] == ["first_name", "last_name", "email", "sex", "birth_year"], rows[0]
rows = rows[1:]
assert len(rows) == len(objects) == 100000
def fold(name):
    bare = "".join(c for c in unicodedata.normalize("NFKD", name) if not unicodedata.combining(c))
    return bare.lower().replace(" ", "").replace("'", "")
given = set()
numbered = 0
for row, obj in zip(rows, objects):
    assert list(obj) == ["first_name", "last_name", "email", "sex", "birth_year"], obj
    assert [("" if v is None else str(v)) for v in obj.values()] == row, (obj, row)
    first, last, address = row[0], row[1], row[2]
    assert address.isascii() and parseaddr(address) == ("", address), address
    parsed = Address(addr_spec=address)
    assert parsed.domain in ("example.com", "example.net", "example.org"), address
    base = fold(first) + "." + fold(last)
    m = re.fullmatch(re.escape(base) + r"([0-9]*)", parsed.username)
    assert m, (first, last, address)
    n = int(m.group(1)) if m.group(1) else 1
    assert m.group(1) != "1" and address not in given, address
    for k in range(1, n):
        assert (base + ("" if k == 1 else str(k)) + "@" + parsed.domain) in given, ("not the smallest", address)
    numbered += n > 1
    given.add(address)
print(numbered)
)py";
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 QStringList{QStringLiteral("-c"), QString::fromUtf8(kChecker)} + paths);
    ASSERT_TRUE(python.waitForFinished(120'000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    EXPECT_GT(python.readAllStandardOutput().trimmed().toInt(), 10000) << "the names collide often";
}

// A list too long to keep each name's forms and births beside it (a names file of many megabytes)
// makes them as each row is written; the rows are those of a short list. Each name of the long list
// is a name of the short one written 200 times in a row, so that the same seed draws the same names
// from both, row for row (the place drawn in the long list, divided by 200, is the place drawn in the
// short one): every field of every row must agree, whatever the format.
TEST_F(CliTest, ALongListWritesThePeopleOfAShortOne) {
    QFile builtInNames(QStringLiteral(QUILLORY_SOURCE_DIR "/data/female_first_names.txt"));
    ASSERT_TRUE(builtInNames.open(QIODevice::ReadOnly));
    QByteArrayList names = builtInNames.readAll().split('\n').mid(0, 1500);
    for (const char* made : {"Zoë, \"Anne\"", "Jean-Pierre", "Œdipe Le Gall", "Xyzzy"})
        names << made;
    QByteArray shortList;
    QByteArray longList;
    for (const QByteArray& name : names) {
        if (name.isEmpty())
            continue;
        shortList += name + '\n';
        for (int copy = 0; copy < 200; ++copy)
            longList += name + '\n';
    }
    const QString shortFile = workspace.writeFile(QStringLiteral("short.txt"), shortList);
    const QString longFile = workspace.writeFile(QStringLiteral("long.txt"), longList);
    for (const char* format : {"csv", "jsonl"}) {
        SCOPED_TRACE(format);
        const auto people = [&](const QString& file) {
            return runCli(
                builtIn({"-n", "20000", "--seed", "29", "--part", "first", "--first-names", file, "--format", format,
                         "--fields", "first_name,full_name,first_name_ascii,initials,sex,birth_date,title,email"}));
        };
        const CliResult expected = people(shortFile);
        const CliResult got = people(longFile);
        ASSERT_EQ(expected.status, 0) << expected.err.toStdString();
        ASSERT_EQ(got.status, 0) << got.err.toStdString();
        EXPECT_GT(expected.out.count("Mme"), 1000) << "the names have births";
        EXPECT_EQ(got.out.toStdString(), expected.out.toStdString());
    }
}

// The option parser as GNU programs parse: every spelling of one request is that request; a prefix
// that fits several options names them all; a word that only begins with an option's name, a switch
// given a value and anything after "--" are refused; and a usage error is one line whatever the
// argument held.
TEST(CliOptions, EverySpellingIsOneRequestAndEveryMistakeOneLine) {
    const auto parsed = [](const QStringList& words) {
        return cli::parseArguments(QStringList{cli::kProgramName} + words);
    };
    for (const QStringList& spelling : QList<QStringList>{{"--count", "5"},
                                                          {"--count=5"},
                                                          {"--cou", "5"},
                                                          {"--coun=5"},
                                                          {"-n5"},
                                                          {"-n", "5"},
                                                          {"-vn5"},
                                                          {"-v", "-n", "5", "--"}}) {
        const cli::Request request = parsed(spelling);
        ASSERT_EQ(request.kind, cli::Request::Kind::Run) << spelling.join(u' ').toStdString();
        EXPECT_EQ(request.options.count, 5) << spelling.join(u' ').toStdString();
        EXPECT_EQ(request.options.verbose, spelling.first().startsWith(QLatin1String("-v")));
    }
    for (const auto& [given, gender] :
         {std::pair{"F", GenderChoice::FemaleOnly}, std::pair{"m", GenderChoice::MaleOnly},
          std::pair{"female", GenderChoice::FemaleOnly}})
        EXPECT_EQ(parsed({"--gender", given}).options.gender, gender) << given;
    const struct {
        QStringList words;
        const char* said;
    } mistakes[] = {
        {{"--f", "x"}, "option '--f' is ambiguous: '--first-names', '--format', '--fields'"},
        {{"--fi=x"}, "option '--fi' is ambiguous: '--first-names', '--fields'"},
        {{"--counts", "5"}, "unknown option '--counts'; did you mean '--count'?"},
        {{"--count5"}, "unknown option '--count5'; did you mean '--count'?"},
        {{"--weighted=yes"}, "option '--weighted' takes no value"},
        {{"--a"}, "option '--a' is ambiguous: '--alive', '--age', '--ascii'"},
        {{"--gender", "x"}, "invalid value 'x' for --gender (choose both|male|female|f|m)"},
        {{"-vw"}, "unknown option '-w'"},
        {{"-n"}, "option '-n' needs a value (N)"},
        {{"--", "-n", "5"}, "unexpected argument '-n'"},
        {{"--", "--help"}, "unexpected argument '--help'"},
        {{"-o", "a\nb", "x\ty"}, "unexpected argument 'x\\ty'"},
        {{QStringLiteral("\u0005\n")}, "unexpected argument '\\x05\\n'"},
    };
    for (const auto& [words, said] : mistakes) {
        const cli::Request request = parsed(words);
        EXPECT_EQ(request.kind, cli::Request::Kind::UsageError) << words.join(u' ').toStdString();
        EXPECT_EQ(request.text, QString::fromUtf8(said)) << words.join(u' ').toStdString();
    }
}

// quillory-cli -n 10000000 | head -3: the reader goes away and the run ends, quietly and well.
TEST_F(CliTest, AClosedPipeEndsTheRunQuietly) {
    QProcess shell;
    shell.start(QStringLiteral("/bin/bash"),
                QStringList{"-c", R"(set -o pipefail; "$0" "$@" | head -3)", QStringLiteral(QUILLORY_CLI)} +
                    builtIn({"-n", "10000000"}));
    ASSERT_TRUE(shell.waitForFinished(60'000));
    EXPECT_EQ(shell.exitCode(), 0) << "the status of quillory-cli itself, not of head";
    EXPECT_EQ(lines(shell.readAllStandardOutput()).size(), 3);
    EXPECT_EQ(shell.readAllStandardError(), QByteArray());
}

} // namespace
} // namespace quillory::test
