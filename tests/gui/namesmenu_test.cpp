// The main window's Names menu and the results window's File menu: the window draws what
// quillory-cli prints for the same seed and choices, common names come as often as people were given
// them, a run without repeats that cannot be made draws nothing, names keep their spaces into the
// workbook, "Save As…" writes every type that independent readers read back and the people behind a
// seeded run as quillory-cli writes them, and the choices survive
// a restart in a real settings file.
#include "chisquare.h"
#include "mainwindowfixture.h"
#include "workbookreader.h"

#include "core/listitems.h"
#include "core/namelistmodel.h"
#include "widgets/namesmenu.h"

#include <QAction>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSettings>

namespace quillory::test {
namespace {

class NamesMenuTest : public MainWindowFixture {
protected:
    NamesMenuTest() {
        QFile::remove(workspace.nameDatabase());
        workspace.installBuiltInNames();
        const QDir built = QFileInfo(QStringLiteral(QUILLORY_CLI)).dir();
        for (const char* file : {"births.tsv", "communes.tsv", "departements.tsv"})
            QFile::copy(built.filePath(QLatin1String(file)), workspace.programFolder() + u'/' + QLatin1String(file));
    }

    QAction* action(const char* name) { return m_shown->findChild<QAction*>(QString::fromUtf8(name)); }

    MainWindow& start() {
        m_shown = &loadAndShow();
        return *m_shown;
    }

    /** "Start Generating" for `count` names; the texts of the results list afterwards. */
    QStringList generate(int count) {
        m_shown->text1()->setText(QString::number(count));
        QTest::mouseClick(control("PushButton1"), Qt::LeftButton);
        return resultTexts();
    }

    QStringList resultTexts() {
        QStringList texts;
        const std::shared_ptr<const ListItems> items = results().listView1()->items().contents();
        for (qsizetype i = 0; i < items->size(); ++i)
            texts << items->text(i);
        return texts;
    }

    /** What quillory-cli prints from the same names.mdb, one line a name. */
    QStringList cli(QStringList arguments) {
        QProcess process;
        process.start(QStringLiteral(QUILLORY_CLI), arguments << "--database" << workspace.nameDatabase());
        EXPECT_TRUE(process.waitForFinished(60'000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        return QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    }

    MainWindow* m_shown = nullptr;
};

TEST_F(NamesMenuTest, TheWindowDrawsWhatQuilloryCliPrintsForTheSameSeedAndChoices) {
    MainWindow& window = start();
    // Common names, seed 42, first and last names of both genders.
    action("mnuCommonNames")->trigger();
    dialogs.answerValue(QStringLiteral("42"));
    action("mnuSameNames")->trigger();
    EXPECT_EQ(generate(300), cli({"-n", "300", "--seed", "42", "--weighted", "--strip-spaces"}));
    EXPECT_EQ(results().statusLine()->text(), QStringLiteral("300 names \u00b7 seed 42"));
    results().backClick();

    // Girls born in the 2000s, no repeats, spaces kept, seed 7.
    action("mnuCommonNames")->trigger();
    dialogs.answerValue(QStringLiteral("2000-2009"));
    action("mnuBornIn")->trigger();
    EXPECT_EQ(action("mnuBornIn")->text(), QStringLiteral("&Born In 2000\u20132009\u2026"));
    action("mnuNoRepeats")->trigger();
    action("mnuKeepSpaces")->trigger();
    dialogs.answerValue(QStringLiteral("7"));
    action("mnuSameNames")->trigger();
    QTest::mouseClick(option("Option3"), Qt::LeftButton);
    const QStringList girls = generate(2000);
    EXPECT_EQ(girls, cli({"-n", "2000", "--seed", "7", "--born", "2000-2009", "--unique", "--gender", "female"}));
    EXPECT_EQ(QSet<QString>(girls.begin(), girls.end()).size(), 2000);
    results().backClick();

    // Only a seed: uniform last names.
    for (const char* on : {"mnuNoRepeats", "mnuKeepSpaces"})
        action(on)->trigger();
    dialogs.answerValue(QString()); // any year
    action("mnuBornIn")->trigger();
    dialogs.answerValue(QStringLiteral("1"));
    action("mnuSameNames")->trigger();
    QTest::mouseClick(option("Option6"), Qt::LeftButton);
    EXPECT_EQ(generate(500), cli({"-n", "500", "--seed", "1", "--part", "last", "--strip-spaces"}));
    EXPECT_EQ(window.namesMenu().choices().bornIn, QString());
}

// 200,000 first names drawn by the window against the births in data/ (both lists summed).
TEST_F(NamesMenuTest, CommonNamesComeAsOftenAsPeopleWereGivenThem) {
    const QHash<QString, double> births =
        firstNameBirthsInData([](const QString& name) { return ProperCase(QString(name).remove(u' ')); });
    ASSERT_FALSE(births.isEmpty());
    start();
    action("mnuCommonNames")->trigger();
    QTest::mouseClick(option("Option5"), Qt::LeftButton);
    const QStringList drawn = generate(200'000);
    ASSERT_EQ(drawn.size(), 200'000);
    EXPECT_LT(chiSquareOfTop(births, drawn, 40), 73.4) << "40 degrees of freedom, p = 0.001";
    EXPECT_TRUE(results().statusLine()->text().endsWith(QStringLiteral("seed 20261208")));
}

// Two first names and three last names make six: seven without repeats is one message with the
// number, and nothing is drawn: the results of the last run stay, the count as typed.
TEST_F(NamesMenuTest, MoreNamesThanTheListsCanMakeWithoutRepeatsIsOneMessageAndNoRun) {
    workspace.storeNames("user_firstname", {"Anne", "Paul"});
    workspace.storeNames("user_lastname", {"Martin", "Roux", "Da Silva"});
    start();
    QTest::mouseClick(option("Option8"), Qt::LeftButton);
    EXPECT_FALSE(action("mnuBornIn")->isEnabled()) << "the User List has no years of birth";
    action("mnuNoRepeats")->trigger();
    const QStringList six = generate(6);
    EXPECT_EQ(QSet<QString>(six.begin(), six.end()).size(), 6);
    results().backClick();

    const std::size_t before = dialogs.messages.size();
    m_shown->text1()->setText(QStringLiteral("7"));
    QTest::mouseClick(control("PushButton1"), Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), before + 1);
    EXPECT_EQ(dialogs.messages.back().text,
              QStringLiteral("These lists can make 6 different names, fewer than asked for."));
    EXPECT_EQ(resultTexts(), six);
    EXPECT_EQ(m_shown->text1()->text(), QStringLiteral("7"));
    EXPECT_TRUE(m_shown->isVisible());
    EXPECT_FALSE(results().isVisible());
}

// Spaces kept: "Da Silva" is one last name, whole in column B of "Excel (2 cells)" however many
// spaces it holds, read back by a reader of its own.
TEST_F(NamesMenuTest, KeptSpacesGoWithTheirPartIntoTheTwoCells) {
    workspace.storeNames("user_firstname", {"Anne Marie"});
    workspace.storeNames("user_lastname", {"da silva"});
    start();
    QTest::mouseClick(option("Option8"), Qt::LeftButton);
    action("mnuKeepSpaces")->trigger();
    EXPECT_EQ(generate(2), QStringList({"Anne Marie Da Silva", "Anne Marie Da Silva"}));
    EXPECT_EQ(results().statusLine()->text(), QStringLiteral("2 names")) << "drawn as designed: no seed to tell";
    QTest::mouseClick(results().control(QStringLiteral("Option5")), Qt::LeftButton);
    results().text2()->setText(desktop());
    QTest::mouseClick(results().control(QStringLiteral("PushButton2")), Qt::LeftButton);
    ASSERT_EQ(dialogs.programsStarted.size(), 1u);
    const WorkbookContent sheet = readWorkbook(dialogs.programsStarted[0].back());
    EXPECT_EQ(sheet.column(1, 2), QStringList({"Anne Marie", "Anne Marie"}));
    EXPECT_EQ(sheet.column(2, 2), QStringList({"Da Silva", "Da Silva"}));
}

// "Save As…" in every type: text, CSV and JSON lines read by Python's own modules, workbooks by
// openpyxl, each record equal to the parts drawn.
TEST_F(NamesMenuTest, SaveAsWritesEveryTypeThatIndependentReadersReadBack) {
    workspace.storeNames("user_firstname", {"Zoé, Marie", "Anne"});
    workspace.storeNames("user_lastname", {"O\"Brien", "Da Silva"});
    start();
    QTest::mouseClick(option("Option8"), Qt::LeftButton);
    action("mnuKeepSpaces")->trigger();
    dialogs.answerValue(QStringLiteral("3"));
    action("mnuSameNames")->trigger();
    const QStringList drawn = generate(40);
    const auto* run = dynamic_cast<const NameRun*>(results().listView1()->items().contents().get());
    ASSERT_NE(run, nullptr);
    QList<QStringList> parts;
    for (int i = 0; i < 40; ++i)
        parts << QStringList{run->firstName(i), run->lastName(i)};
    ASSERT_TRUE(parts.contains(QStringList({"Zoé, Marie", "O\"Brien"})) ||
                parts.contains(QStringList({"Zoé, Marie", "Da Silva"})));

    const QString folder = workspace.path(QStringLiteral("saved"));
    QDir().mkpath(folder);
    static const char kReader[] = R"(
import csv, json, sys
path, kind = sys.argv[1], sys.argv[2]
with open(path, newline="", encoding="utf-8") as f:
    if kind == "csv":
        rows = list(csv.reader(f, strict=True))[1:]
    elif kind == "jsonl":
        rows = [[r["first_name"], r["last_name"]] for r in (json.loads(l) for l in f.read().split("\n") if l)]
    else:
        rows = [[line] for line in f.read().split("\n")[:-1]]
json.dump(rows, sys.stdout)
)";
    const auto readBack = [&](const QString& path, const char* kind) {
        QProcess python;
        python.start(QStringLiteral("/usr/bin/python3"), {"-c", kReader, path, kind});
        python.waitForFinished(60'000);
        EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
        QList<QStringList> rows;
        for (const QJsonValue& row : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
            QStringList fields;
            for (const QJsonValue& field : row.toArray())
                fields << field.toString();
            rows << fields;
        }
        return rows;
    };
    const struct {
        const char* name;
        int filter;
    } saves[] = {{"names", 0}, {"names.csv", 1}, {"names.jsonl", 2}, {"one.xlsx", 3}, {"two.xlsx", 4}};
    for (const auto& [name, filter] : saves) {
        SCOPED_TRACE(name);
        dialogs.answerSaveFile(folder + u'/' + QLatin1String(name), filter);
        results().findChild<QAction*>(QStringLiteral("mnuSaveAs"))->trigger();
        EXPECT_TRUE(dialogs.errorReports().isEmpty()) << dialogs.errorReports().join(u'\n').toStdString();
    }
    QList<QStringList> lines;
    for (const QString& line : drawn)
        lines << QStringList{line};
    EXPECT_EQ(readBack(folder + QStringLiteral("/names.txt"), "text"), lines) << "a type's ending is added";
    EXPECT_EQ(readBack(folder + QStringLiteral("/names.csv"), "csv"), parts);
    EXPECT_EQ(readBack(folder + QStringLiteral("/names.jsonl"), "jsonl"), parts);
    EXPECT_EQ(readWorkbook(folder + QStringLiteral("/one.xlsx")).column(1, 40), drawn);
    const WorkbookContent two = readWorkbook(folder + QStringLiteral("/two.xlsx"));
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(QStringList({two.column(1, 40)[i], two.column(2, 40)[i]}), parts[i]) << "row " << i + 1;
    // The folder is remembered for the next "Save As…".
    dialogs.answerSaveFile(QString(), -1);
    results().findChild<QAction*>(QStringLiteral("mnuSaveAs"))->trigger();
    EXPECT_EQ(dialogs.savesShown.back().startFolder, folder + QStringLiteral("/names.txt"));
}

// "Save As…" asks about the file it will really write, the type's ending added, and replaces it only
// on a Yes; a file that has the typed name without the ending is never the one asked about.
TEST_F(NamesMenuTest, SaveAsAsksAboutTheFileItWillReallyReplace) {
    start();
    generate(3);
    const QString folder = workspace.path(QStringLiteral("asked"));
    const struct {
        const char* typed;
        int filter;
        QStringList before;         // files there before, each holding "mine"
        std::optional<bool> answer; // none: no question may be asked
        const char* written;        // the file that must hold the names afterwards, if any
    } cases[] = {
        {"keep", 0, {"keep.txt"}, false, nullptr},       {"keep", 0, {"keep.txt"}, true, "keep.txt"},
        {"keep", 0, {"keep"}, std::nullopt, "keep.txt"}, {"keep", 1, {"keep.txt"}, std::nullopt, "keep.csv"},
        {"keep.txt", 0, {"keep.txt"}, false, nullptr},   {"keep.csv", 5, {"keep.csv", "keep"}, true, "keep.csv"},
        {"new", 2, {}, std::nullopt, "new.jsonl"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " over " + c.before.join(u',').toStdString());
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        for (const QString& name : c.before) {
            QFile file(folder + u'/' + name);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("mine");
        }
        dialogs.confirmsShown.clear();
        dialogs.answerSaveFile(folder + u'/' + QLatin1String(c.typed), c.filter);
        if (c.answer)
            dialogs.answerConfirm(*c.answer);
        results().findChild<QAction*>(QStringLiteral("mnuSaveAs"))->trigger();
        EXPECT_TRUE(dialogs.errorReports().isEmpty());
        if (c.answer) {
            ASSERT_EQ(dialogs.confirmsShown.size(), 1u);
            EXPECT_TRUE(dialogs.confirmsShown[0].text.startsWith(folder + QStringLiteral("/keep.")))
                << dialogs.confirmsShown[0].text.toStdString();
        } else {
            EXPECT_TRUE(dialogs.confirmsShown.empty());
        }
        for (const QString& name : QDir(folder).entryList(QDir::Files)) {
            QFile file(folder + u'/' + name);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const bool names = c.written != nullptr && name == QLatin1String(c.written);
            EXPECT_EQ(file.readAll() == "mine", !names) << name.toStdString();
        }
        if (c.written != nullptr) {
            EXPECT_TRUE(QFileInfo::exists(folder + u'/' + QLatin1String(c.written)));
        }
    }
}

// The people behind a seeded window run are those quillory-cli gives for the same seed and choices;
// those of a run drawn as designed stay the same from one save to the next.
TEST_F(NamesMenuTest, SavedPeopleAreTheRowsQuilloryCliWritesForTheSameSeed) {
    start();
    action("mnuCommonNames")->trigger();
    dialogs.answerValue(QStringLiteral("1950-1979"));
    action("mnuBornIn")->trigger();
    action("mnuNoRepeats")->trigger();
    dialogs.answerValue(QStringLiteral("11"));
    action("mnuSameNames")->trigger();
    QTest::mouseClick(option("Option3"), Qt::LeftButton);
    generate(3000);
    const QString folder = workspace.path(QStringLiteral("people"));
    QDir().mkpath(folder);
    const auto saved = [&](const QString& name, int filter) {
        dialogs.answerSaveFile(folder + u'/' + name, filter);
        results().findChild<QAction*>(QStringLiteral("mnuSaveAs"))->trigger();
        EXPECT_TRUE(dialogs.errorReports().isEmpty()) << dialogs.errorReports().join(u'\n').toStdString();
        QFile file(folder + u'/' + name);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    };
    const auto cliBytes = [&](const char* format) {
        QProcess process;
        process.start(QStringLiteral(QUILLORY_CLI),
                      {"-n", "3000", "--seed", "11", "--weighted", "--born", "1950-1979", "--gender", "female",
                       "--unique", "--strip-spaces", "--format", format, "--fields",
                       "first_name,last_name,sex,birth_year,birth_date,title,email", "--database",
                       workspace.nameDatabase()});
        EXPECT_TRUE(process.waitForFinished(60'000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        return process.readAllStandardOutput().toStdString();
    };
    const QByteArray csv = saved(QStringLiteral("people.csv"), 5);
    EXPECT_TRUE(csv.startsWith("first_name,last_name,sex,birth_year,birth_date,title,email\r\n"));
    EXPECT_EQ(csv.toStdString(), cliBytes("csv"));
    EXPECT_EQ(saved(QStringLiteral("people.jsonl"), 6).toStdString(), cliBytes("jsonl"));
    results().backClick();

    // As designed, no seed: the run's people are drawn once for all its saves.
    for (const char* off : {"mnuCommonNames", "mnuNoRepeats"})
        action(off)->trigger();
    dialogs.answerValue(QString());
    action("mnuBornIn")->trigger();
    dialogs.answerValue(QString());
    action("mnuSameNames")->trigger();
    generate(200);
    const QByteArray first = saved(QStringLiteral("designed.csv"), 5);
    EXPECT_EQ(first.count("\r\n"), 201);
    EXPECT_EQ(first.count(",F,"), 200) << "the girls' list gives girls";
    dialogs.answerConfirm(true);
    EXPECT_EQ(saved(QStringLiteral("designed.csv"), 5), first);
}

// "People Of Today…" draws as quillory-cli --alive does: the same names and the same people files
// for the same seed and ages; greyed for the User List; a run without repeats that runs out of new
// names is one message; the ages are stored as typed.
TEST_F(NamesMenuTest, PeopleOfTodayAreTheNamesAndRowsOfQuilloryCliAlive) {
    start();
    dialogs.answerValue(QStringLiteral("18-65"));
    action("mnuPeopleOfToday")->trigger();
    EXPECT_EQ(action("mnuPeopleOfToday")->text(), QStringLiteral("&People Of Today (18\u201365)\u2026"));
    dialogs.answerValue(QStringLiteral("5"));
    action("mnuSameNames")->trigger();
    const QStringList alive{"--seed", "5", "--alive", "--age", "18-65", "--strip-spaces"};
    EXPECT_EQ(generate(2000), cli(QStringList{"-n", "2000"} + alive));
    const QString saved = workspace.path(QStringLiteral("today.csv"));
    dialogs.answerSaveFile(saved, 5);
    results().findChild<QAction*>(QStringLiteral("mnuSaveAs"))->trigger();
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts),
              cli(QStringList{"-n", "2000", "--format", "csv", "--fields",
                              "first_name,last_name,sex,birth_year,birth_date,title,email"} +
                  alive)
                  .replaceInStrings(QStringLiteral("\r"), QString()));
    // Every field: the places too, as quillory-cli --fields gives them.
    const QString every = workspace.path(QStringLiteral("every.jsonl"));
    dialogs.answerSaveFile(every, 8);
    results().findChild<QAction*>(QStringLiteral("mnuSaveAs"))->trigger();
    QFile everyFile(every);
    ASSERT_TRUE(everyFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(everyFile.readAll()).split(u'\n', Qt::SkipEmptyParts),
              cli(QStringList{"-n", "2000", "--format", "jsonl", "--fields",
                              "first_name,last_name,full_name,sex,birth_year,birth_date,title,initials,email,"
                              "first_name_ascii,last_name_ascii,birth_place,birth_department,street,postcode,city,"
                              "department,address,phone,phone_international,mobile,mobile_international,nir"} +
                  alive));
    EXPECT_TRUE(dialogs.errorReports().isEmpty()) << dialogs.errorReports().join(u'\n').toStdString();
    results().backClick();

    // The girls' first names alone and no repeats: the rarest names of some years never come.
    action("mnuNoRepeats")->trigger();
    QTest::mouseClick(option("Option3"), Qt::LeftButton);
    QTest::mouseClick(option("Option5"), Qt::LeftButton);
    const std::size_t before = dialogs.messages.size();
    generate(m_shown->listView1()->count());
    ASSERT_EQ(dialogs.messages.size(), before + 1);
    EXPECT_TRUE(dialogs.messages.back().text.endsWith(
        QStringLiteral("in 1,000 draws, each given already: ask for fewer names.")))
        << dialogs.messages.back().text.toStdString();
    EXPECT_TRUE(dialogs.errorReports().isEmpty());

    QTest::mouseClick(option("Option8"), Qt::LeftButton);
    EXPECT_FALSE(action("mnuPeopleOfToday")->isEnabled());
    QSettings stored(workspace.settingsFile(), QSettings::IniFormat);
    EXPECT_EQ(stored.value(QStringLiteral("Quillory/PeopleOfToday")).toString(), QStringLiteral("18-65"));
}

// View, "Show People": beside each name, the very fields of its row in the saved people file; drawn
// once per run away from the window's thread, kept with the run, and the choice remembered.
TEST_F(NamesMenuTest, ShownPeopleAreTheSavedRowsOfTheRun) {
    start();
    action("mnuNoRepeats")->trigger(); // addresses given once, numbered where they clash
    generate(3000);
    ResultsWindow& window = results();
    NameListModel& list = window.listView1()->items();
    QAction* show = window.showPeopleAction();
    EXPECT_FALSE(show->isChecked());
    EXPECT_EQ(list.columnCount(), 1);

    show->trigger();
    EXPECT_TRUE(window.drawingPeople()) << "drawn away from the window's thread";
    EXPECT_EQ(list.columnCount(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.drawingPeople(); }, 60'000));
    ASSERT_EQ(list.columnCount(), 5);
    QStringList headers;
    for (int column = 0; column < 5; ++column)
        headers << list.headerData(column, Qt::Horizontal).toString();
    EXPECT_EQ(headers, QStringList({"Names", "Sex", "Born", "Title", "E-mail"}));

    const QString file = workspace.path(QStringLiteral("people.csv"));
    dialogs.answerSaveFile(file, 5);
    window.findChild<QAction*>(QStringLiteral("mnuSaveAs"))->trigger();
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = saved.readAll().split('\n');
    ASSERT_EQ(lines.size(), 3002);
    EXPECT_EQ(lines[0], "first_name,last_name,sex,birth_year,birth_date,title,email\r");
    for (int row = 0; row < 3000; ++row) {
        const QStringList fields = QString::fromUtf8(lines[row + 1].chopped(1)).split(u',');
        const QStringList shown{list.data(list.index(row, 0)).toString(), list.data(list.index(row, 1)).toString(),
                                list.data(list.index(row, 2)).toString(), list.data(list.index(row, 3)).toString(),
                                list.data(list.index(row, 4)).toString()};
        ASSERT_EQ(shown, QStringList({fields[0] + u' ' + fields[1], fields[2], fields[4], fields[5], fields[6]}))
            << "row " << row;
    }
    EXPECT_EQ(settings.ReadSetting(QStringLiteral("ShowPeople"), QString()), QStringLiteral("True"));

    // Hidden and shown again: the same people at once, not drawn anew.
    const QString firstBorn = list.data(list.index(0, 2)).toString();
    show->trigger();
    EXPECT_EQ(list.columnCount(), 1);
    show->trigger();
    EXPECT_FALSE(window.drawingPeople());
    EXPECT_EQ(list.data(list.index(0, 2)).toString(), firstBorn);

    // A new run has people of its own, drawn as it is shown; one replaced before they came never shows.
    window.backClick();
    generate(50);
    generate(20);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.drawingPeople(); }, 60'000));
    EXPECT_EQ(list.rowCount(), 20);
    EXPECT_EQ(list.columnCount(), 5);
    EXPECT_TRUE(list.data(list.index(19, 4)).toString().contains(u'@'));
    EXPECT_TRUE(dialogs.errorReports().isEmpty());
}

// Every choice is stored as it changes, in the settings file beside the designed keys, and comes back
// at the next start; a value edited by hand into nonsense reads as unset.
TEST_F(NamesMenuTest, TheChoicesAreStoredAsTheyChangeAndRestoredAtTheNextStart) {
    start();
    for (const char* on : {"mnuCommonNames", "mnuNoRepeats", "mnuKeepSpaces"})
        action(on)->trigger();
    dialogs.answerValue(QStringLiteral("1954"));
    action("mnuBornIn")->trigger();
    dialogs.answerValue(QStringLiteral("18446744073709551615"));
    action("mnuSameNames")->trigger();
    {
        QSettings file(workspace.settingsFile(), QSettings::IniFormat);
        file.beginGroup(QStringLiteral("Quillory"));
        EXPECT_EQ(file.value(QStringLiteral("CommonNames")).toString(), QStringLiteral("True"));
        EXPECT_EQ(file.value(QStringLiteral("NoRepeats")).toString(), QStringLiteral("True"));
        EXPECT_EQ(file.value(QStringLiteral("KeepSpaces")).toString(), QStringLiteral("True"));
        EXPECT_EQ(file.value(QStringLiteral("BornIn")).toString(), QStringLiteral("1954"));
        EXPECT_EQ(file.value(QStringLiteral("Seed")).toString(), QStringLiteral("18446744073709551615"));
    }
    start();
    for (const char* on : {"mnuCommonNames", "mnuNoRepeats", "mnuKeepSpaces"})
        EXPECT_TRUE(action(on)->isChecked()) << on;
    EXPECT_EQ(action("mnuBornIn")->text(), QStringLiteral("&Born In 1954\u2026"));
    EXPECT_EQ(m_shown->namesMenu().choices().seed, std::optional<std::uint64_t>(18446744073709551615ull));

    {
        QSettings file(workspace.settingsFile(), QSettings::IniFormat);
        file.beginGroup(QStringLiteral("Quillory"));
        file.setValue(QStringLiteral("BornIn"), QStringLiteral("1899"));
        file.setValue(QStringLiteral("Seed"), QStringLiteral("-1"));
        file.setValue(QStringLiteral("KeepSpaces"), QStringLiteral("maybe"));
    }
    start();
    EXPECT_EQ(action("mnuBornIn")->text(), QStringLiteral("&Born In\u2026"));
    EXPECT_FALSE(action("mnuKeepSpaces")->isChecked());
    EXPECT_EQ(m_shown->namesMenu().choices().seed, std::nullopt);
    EXPECT_TRUE(dialogs.errorReports().isEmpty());
}

} // namespace
} // namespace quillory::test
