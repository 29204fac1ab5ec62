#include "core/procedures.h"
#include "mainwindowfixture.h"
#include "ui/windowpointer.h"

#include "store/namedatabase.h"
#include "widgets/editmenu.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace quillory;

namespace {

class NameListActionsTest : public test::MainWindowFixture {
protected:
    MainWindow& start() {
        workspace.storeNames("system_mfirstname", {"JEAN", "Camille", "jean", "Louis"});
        workspace.storeNames("system_ffirstname", {"Camille", "Marie", "Jean"});
        workspace.storeNames("system_lastname", {"martin", "O'Neil", "Martin ", "MARTIN", "Petit"});
        workspace.storeNames("user_firstname", {"zoé", "anne"});
        workspace.storeNames("user_lastname", {"roy"});
        return loadAndShow();
    }

    void click(const char* name) { QTest::mouseClick(control(name), Qt::LeftButton); }

    QStringList shown(ListControl* list) {
        QStringList items;
        for (int i = 1; i <= list->count(); ++i)
            items << list->item(i);
        return items;
    }

    void select(ListControl* list, const QString& text) {
        for (int i = 1; i <= list->count(); ++i) {
            if (list->item(i) == text) {
                list->setCurrentIndex(list->items().index(i - 1, 0));
                return;
            }
        }
        ADD_FAILURE() << "not shown: " << text.toStdString();
    }

    QString reportAt(const char* procedure, int line) {
        return QStringLiteral("\r\nin Tarvisk2021/08/31.Form1.%1 at line %2\r\r")
            .arg(QString::fromUtf8(procedure))
            .arg(line);
    }
};

} // namespace

TEST_F(NameListActionsTest, AddingAsksForANameAndStoresItAsTyped) {
    MainWindow& window = start();
    QSignalSpy refills(&window.listView2()->items(), &QAbstractItemModel::modelReset);
    for (const char* typed : {"", "   ", "'", "D'Arcy", "  anne marie  "})
        dialogs.answerPrompt(QString::fromUtf8(typed));
    for (int i = 0; i < 5; ++i)
        click("PushButton2");
    ASSERT_EQ(dialogs.promptsShown.size(), 5u);
    EXPECT_EQ(dialogs.promptsShown[0], QStringLiteral("Input first name: "));
    // Halvard's List: first names join the female ones; Cancel and blank entries store nothing.
    EXPECT_EQ(workspace.storedNames("system_ffirstname"),
              QStringList({"Camille", "Marie", "Jean", "DArcy", "  anne marie  "}));
    EXPECT_EQ(refills.count(), 5) << "every click refills, Cancel included";
    EXPECT_TRUE(shown(window.listView1()).contains(QStringLiteral("  Anne Marie  ")));

    // Under "Male Only" the new female name is stored but not shown.
    click("Option2");
    dialogs.answerPrompt(QStringLiteral("Solène"));
    click("PushButton2");
    EXPECT_EQ(workspace.storedNames("system_ffirstname").last(), QStringLiteral("Solène"));
    EXPECT_FALSE(shown(window.listView1()).contains(QStringLiteral("Solène")));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(NameListActionsTest, AddingALastNameToTheUserListKeepsEveryCopyAndCutsAtFifty) {
    MainWindow& window = start();
    click("Option8");
    const QString sixty = QString(60, u'x');
    for (const QString& typed : {QStringLiteral("Lebrun"), QStringLiteral("Lebrun"), sixty})
        dialogs.answerPrompt(typed);
    for (int i = 0; i < 3; ++i)
        click("PushButton5");
    EXPECT_EQ(dialogs.promptsShown[0], QStringLiteral("Input last name: "));
    EXPECT_EQ(workspace.storedNames("user_lastname"), QStringList({"roy", "Lebrun", "Lebrun", QString(50, u'x')}));
    EXPECT_EQ(shown(window.listView2()).count(QStringLiteral("Lebrun")), 2);
}

TEST_F(NameListActionsTest, DeleteRemovesEveryCopyInEveryLetterCaseOfTheChosenGender) {
    MainWindow& window = start();
    click("Option2"); // Male Only
    select(window.listView1(), QStringLiteral("Jean"));
    click("PushButton4");
    EXPECT_EQ(workspace.storedNames("system_mfirstname"), QStringList({"Camille", "Louis"}));
    EXPECT_EQ(workspace.storedNames("system_ffirstname"), QStringList({"Camille", "Marie", "Jean"}));
    click("Option1"); // Both: the female Jean shows again, and goes from both tables
    select(window.listView1(), QStringLiteral("Camille"));
    click("PushButton4");
    EXPECT_EQ(workspace.storedNames("system_mfirstname"), QStringList({"Louis"}));
    EXPECT_EQ(workspace.storedNames("system_ffirstname"), QStringList({"Marie", "Jean"}));
    EXPECT_EQ(shown(window.listView1()), QStringList({"Jean", "Louis", "Marie"}));

    // The shown text is what is deleted: a trailing space counts, a quote is just a character.
    select(window.listView2(), QStringLiteral("Martin "));
    click("PushButton3");
    select(window.listView2(), QStringLiteral("O'Neil"));
    click("PushButton3");
    EXPECT_EQ(workspace.storedNames("system_lastname"), QStringList({"martin", "MARTIN", "Petit"}));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(NameListActionsTest, ClearEmptiesOnlyTheUserListOfItsKind) {
    MainWindow& window = start();
    click("Option8");
    click("PushButton4");
    EXPECT_EQ(workspace.storedNames("user_firstname"), QStringList());
    EXPECT_EQ(workspace.storedNames("user_lastname"), QStringList({"roy"}));
    EXPECT_EQ(window.listView1()->count(), 0);
    EXPECT_EQ(shown(window.listView2()), QStringList({"Roy"}));
    EXPECT_EQ(workspace.storedNames("system_mfirstname").size(), 4) << "Halvard's List is untouched";

    // On an empty list the button does nothing at all, not even open the database.
    QFile::remove(workspace.nameDatabase());
    click("PushButton4");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(NameListActionsTest, DoubleClickAndDeleteKeyTakeANameOutOfTheShownListOnly) {
    MainWindow& window = start();
    ListControl* last = window.listView2();
    select(last, QStringLiteral("Petit"));
    last->setFocus();
    QTest::keyClick(last, Qt::Key_Delete);
    EXPECT_FALSE(shown(last).contains(QStringLiteral("Petit")));
    const QRect first = last->visualRect(last->items().index(0, 0));
    QTest::mouseDClick(last->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(last->count(), 3);
    QTest::keyClick(last, Qt::Key_Backspace);
    EXPECT_EQ(last->count(), 3) << "only the Delete key removes";
    EXPECT_EQ(workspace.storedNames("system_lastname").size(), 5);

    // Nothing is removed while the hourglass is up; the next fill brings every name back.
    window.pointer().set(WindowPointer::kHourglass);
    QTest::keyClick(last, Qt::Key_Delete);
    EXPECT_EQ(last->count(), 3);
    window.pointer().set(WindowPointer::kDefault);
    click("Option2");
    EXPECT_EQ(last->count(), 5);
}

TEST_F(NameListActionsTest, LoadingImportsThePickedFilesInOrderUnderTheHourglass) {
    MainWindow& window = start();
    click("Option8");
    const QString a = workspace.writeFile(QStringLiteral("a.txt"), "Yves\r\nXavier\r\n");
    const QString b = workspace.writeFile(QStringLiteral("b.txt"), "Ulysse");
    dialogs.answerOpenFiles({a, workspace.path(QStringLiteral("typed.txt")), b});
    dialogs.onMessage = [&](const test::ShownMessage&) { EXPECT_TRUE(window.pointer().isBusy()); };
    click("PushButton6");

    ASSERT_EQ(dialogs.openFilesShown.size(), 1u);
    EXPECT_EQ(dialogs.openFilesShown[0].title,
              QStringLiteral("Load List(s) - Hold Ctrl to select multiple list files"));
    EXPECT_EQ(dialogs.openFilesShown[0].filters, QStringList({"Text Files (*.txt)", "All Files (*.*)"}));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("File not found"));
    EXPECT_EQ(workspace.storedNames("user_firstname"), QStringList({"zoé", "anne", "Yves", "Xavier", "Ulysse"}));
    EXPECT_EQ(shown(window.listView1()), QStringList({"Anne", "Ulysse", "Xavier", "Yves", "Zoé"}));
    EXPECT_EQ(window.pointer().value(), WindowPointer::kDefault);
}

TEST_F(NameListActionsTest, CancellingThePickerImportsAndRefillsNothing) {
    MainWindow& window = start();
    QSignalSpy refills(&window.listView1()->items(), &QAbstractItemModel::modelReset);
    dialogs.answerOpenFiles({});
    click("PushButton7");
    EXPECT_EQ(refills.count(), 0);
    EXPECT_EQ(workspace.storedNames("system_lastname").size(), 5);
}

TEST_F(NameListActionsTest, WithoutTheDatabaseEachFailingStepIsReportedAndTheNextClickWorks) {
    start();
    QFile::remove(workspace.nameDatabase());
    dialogs.answerPrompt(QStringLiteral("Anne"));
    click("PushButton5");
    const QStringList reports = dialogs.errorReports();
    ASSERT_EQ(reports.size(), 3);
    EXPECT_TRUE(reports[0].contains(reportAt("PushButton5_Click", 100)));
    EXPECT_TRUE(reports[1].contains(reportAt("PushButton5_Click", 112)));
    EXPECT_TRUE(reports[2].contains(reportAt("PushButton5_Click", 122)));
    EXPECT_FALSE(QFile::exists(workspace.nameDatabase()));

    workspace.createNameDatabase();
    dialogs.answerPrompt(QStringLiteral("Anne"));
    click("PushButton5");
    EXPECT_EQ(workspace.storedNames("system_lastname"), QStringList{"Anne"});
    EXPECT_EQ(dialogs.errorReports().size(), 3);
}

namespace {

// Every row of names.mdb with its rowid, type and exact value, as the sqlite3 shell dumps them.
std::string dumpOf(const QString& database) {
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {database, QStringLiteral(".dump --preserve-rowids")});
    shell.waitForFinished();
    return shell.readAllStandardOutput().toStdString();
}

void runSql(const QString& database, const char* statement) {
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {database, QString::fromUtf8(statement)});
    shell.waitForFinished();
    ASSERT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().toStdString();
}

} // namespace

TEST_F(NameListActionsTest, UndoPutsBackExactlyWhatEachActionChangedAndRedoDoesItAgain) {
    MainWindow& window = start();
    // Gaps in the rowids and values that are not text, as an older or hand-edited file may hold.
    runSql(workspace.nameDatabase(), "insert into user_firstname values (NULL), (7.5), (x'00ff'), (12);"
                                     "delete from user_firstname where rowid = 2;"
                                     "insert into system_ffirstname (rowid, Ffirst) values (90, 'JEAN')");
    const QString file = workspace.writeFile(QStringLiteral("more.txt"), "Léo\nZoé\nAnne\n");
    QAction* undo = window.editMenu().undo();
    QAction* redo = window.editMenu().redo();
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(undo->text(), QStringLiteral("&Undo"));
    EXPECT_EQ(test::sharedMnemonics(&window), QStringList());
    EXPECT_EQ(test::sharedMnemonics(&results()), QStringList());
    EXPECT_EQ(undo->shortcut(), QKeySequence(QKeySequence::Undo));
    EXPECT_EQ(redo->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+Z")));

    struct Action {
        const char* what;
        std::function<void()> act;
    };
    const std::vector<Action> actions{
        {"Delete First Name",
         [&] {
             select(window.listView1(), QStringLiteral("Jean"));
             click("PushButton4");
         }},
        {"Add Last Name",
         [&] {
             click("Option8");
             dialogs.answerPrompt(QStringLiteral("Éloïse"));
             click("PushButton5");
         }},
        {"Clear First Names", [&] { click("PushButton4"); }},
        {"Load First Names From File",
         [&] {
             dialogs.answerOpenFiles({file});
             click("PushButton6");
         }},
        {"Drop Files on Last Names",
         [&] {
             emit window.listView2()->filesDropped({file, file});
         }},
        {"Clear Last Names", [&] { click("PushButton3"); }},
    };
    std::vector<std::string> states{dumpOf(workspace.nameDatabase())};
    for (const Action& action : actions) {
        action.act();
        states.push_back(dumpOf(workspace.nameDatabase()));
        EXPECT_NE(states.back(), states[states.size() - 2]) << action.what;
        EXPECT_EQ(undo->text(), QStringLiteral("&Undo ") + QString::fromUtf8(action.what));
    }
    QSignalSpy refills(&window.listView1()->items(), &QAbstractItemModel::modelReset);
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.listView2()->setFocus();
    // Back to the start, each step restoring the file as it was before the action, then forward again.
    for (std::size_t i = actions.size(); i > 0; --i) {
        EXPECT_EQ(undo->text(), QStringLiteral("&Undo ") + QString::fromUtf8(actions[i - 1].what));
        QTest::keyClick(window.listView2(), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(dumpOf(workspace.nameDatabase()), states[i - 1]) << "undoing " << actions[i - 1].what;
        EXPECT_EQ(redo->text(), QStringLiteral("&Redo ") + QString::fromUtf8(actions[i - 1].what));
    }
    EXPECT_EQ(refills.count(), static_cast<int>(actions.size()));
    EXPECT_FALSE(undo->isEnabled());
    for (std::size_t i = 1; i <= actions.size(); ++i) {
        QTest::keyClick(window.listView2(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(dumpOf(workspace.nameDatabase()), states[i]) << "redoing " << actions[i - 1].what;
    }
    EXPECT_FALSE(redo->isEnabled());

    // A new action after an undo ends what could be redone; one that changed nothing is no action.
    undo->trigger();
    dialogs.answerPrompt(QString());
    click("PushButton2");
    EXPECT_TRUE(redo->isEnabled()) << "a cancelled Add changes nothing";
    dialogs.answerPrompt(QStringLiteral("Nina"));
    click("PushButton2");
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_EQ(undo->text(), QStringLiteral("&Undo Add First Name"));

    // In the count box the keys undo its own text and leave the names alone.
    const std::string names = dumpOf(workspace.nameDatabase());
    window.text1()->setFocus();
    window.text1()->selectAll();
    QTest::keyClicks(window.text1(), QStringLiteral("42"));
    QTest::keyClick(window.text1(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(window.text1()->text(), QStringLiteral("42"));
    EXPECT_EQ(dumpOf(workspace.nameDatabase()), names);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(NameListActionsTest, AnUndoThatCannotBeDoneExactlyChangesNothing) {
    MainWindow& window = start();
    click("Option8");
    click("PushButton4"); // Clear First Names
    QAction* undo = window.editMenu().undo();

    // The engine fails (another copy holds the write lock): reported, and the undo stays to be tried again.
    NameDatabase::setBusyTimeout(std::chrono::milliseconds(50));
    {
        QProcess other;
        other.start(QStringLiteral("sqlite3"), {workspace.nameDatabase()});
        other.write("begin immediate; insert into user_lastname values ('x');\n");
        QTest::qWait(300);
        undo->trigger();
        other.write("rollback;\n.quit\n");
        other.closeWriteChannel();
        other.waitForFinished();
    }
    NameDatabase::setBusyTimeout(std::chrono::seconds(5));
    ASSERT_EQ(dialogs.errorReports().size(), 1);
    EXPECT_TRUE(dialogs.errorReports()[0].contains(reportAt("mnuUndo_Click", 102)));
    EXPECT_EQ(undo->text(), QStringLiteral("&Undo Clear First Names"));

    // Another copy stored a name under a rowid the cleared names had: nothing is put back.
    runSql(workspace.nameDatabase(), "insert into user_firstname values ('Autre')");
    const std::string before = dumpOf(workspace.nameDatabase());
    undo->trigger();
    EXPECT_EQ(dumpOf(workspace.nameDatabase()), before);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, QStringLiteral("“Clear First Names” cannot be undone: the names it changed "
                                                       "have been changed since, by another copy of Quillory."));
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(shown(window.listView1()), QStringList{QStringLiteral("Autre")});
}
