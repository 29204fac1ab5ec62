#include "core/appinfo.h"
#include "core/procedures.h"
#include "mainwindowfixture.h"
#include "store/namedatabase.h"
#include "ui/qtdialogs.h"
#include "ui/windowpointer.h"
#include "widgets/optionspanel.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

#include <string_view>

using namespace quillory;

namespace {

class OptionsPanelTest : public test::MainWindowFixture {
protected:
    OptionsPanelTest() {
        workspace.storeNames("system_mfirstname", {"Jean", "Camille", "LOUIS"});
        workspace.storeNames("system_ffirstname", {"Marie", "camille", "Zoé"});
        workspace.storeNames("system_lastname", {"Martin", "Durand"});
        workspace.storeNames("user_firstname", {"Anne", "anne"});
        workspace.storeNames("user_lastname", {"Roy"});
    }

    static QStringList itemsOf(ListControl* list) {
        QStringList items;
        for (int i = 1; i <= list->count(); ++i)
            items << list->item(i);
        return items;
    }

    QString stored(const char* key) { return settings.ReadSetting(QString::fromUtf8(key), QStringLiteral("(absent)")); }

    QString caption(const char* name) { return qobject_cast<QPushButton*>(control(name))->text(); }

    void click(const char* name) { QTest::mouseClick(control(name), Qt::LeftButton, {}, QPoint(8, 8)); }

    void expectHalvardsListShown(MainWindow& window) {
        EXPECT_EQ(caption("PushButton4"), QStringLiteral("Delete"));
        EXPECT_EQ(caption("PushButton3"), QStringLiteral("Delete"));
        for (const char* gender : {"Option1", "Option2", "Option3"})
            EXPECT_TRUE(control(gender)->isEnabled()) << gender;
        EXPECT_EQ(itemsOf(window.listView2()), QStringList({"Durand", "Martin"}));
    }

    void expectUserListShown(MainWindow& window) {
        EXPECT_EQ(caption("PushButton4"), QStringLiteral("Clear"));
        EXPECT_EQ(caption("PushButton3"), QStringLiteral("Clear"));
        for (const char* gender : {"Option1", "Option2", "Option3"})
            EXPECT_FALSE(control(gender)->isEnabled()) << gender;
        EXPECT_EQ(itemsOf(window.listView1()), QStringList({"Anne", "Anne"}));
        EXPECT_EQ(itemsOf(window.listView2()), QStringList({"Roy"}));
    }

    QString reportAt(const char* procedure, int line) {
        return QStringLiteral("in Tarvisk2021/08/31.Form1.%1 at line %2").arg(QString::fromUtf8(procedure)).arg(line);
    }
};

} // namespace

TEST_F(OptionsPanelTest, AFreshProfileStartsAsDesigned) {
    MainWindow& window = loadAndShow();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(option("Option9")->isChecked());
    EXPECT_TRUE(option("Option1")->isChecked());
    EXPECT_TRUE(option("Option4")->isChecked());
    expectHalvardsListShown(window);
    EXPECT_EQ(itemsOf(window.listView1()), QStringList({"Camille", "Jean", "Louis", "Marie", "Zoé"}));
    EXPECT_EQ(window.text1()->text(), QStringLiteral("100"));
    EXPECT_EQ(window.text1()->selectedText(), QStringLiteral("100"));
    EXPECT_EQ(window.pointer().value(), WindowPointer::kDefault);
    // Only the count is stored at start-up; the options wait for their first click.
    EXPECT_EQ(stored("Text1"), QStringLiteral("100"));
    EXPECT_EQ(stored("Option9"), QStringLiteral("(absent)"));
}

TEST_F(OptionsPanelTest, SwitchingTheSourceChangesCaptionsGenderListsAndSettings) {
    MainWindow& window = loadAndShow();
    click("Option3");
    click("Option8");
    expectUserListShown(window);
    EXPECT_TRUE(option("Option3")->isChecked()); // greyed out, but it keeps its state
    EXPECT_EQ(stored("Option8"), QStringLiteral("True"));
    EXPECT_EQ(stored("Option9"), QStringLiteral("False"));

    click("Option9");
    expectHalvardsListShown(window);
    EXPECT_TRUE(option("Option3")->isChecked());
    EXPECT_EQ(itemsOf(window.listView1()), QStringList({"Camille", "Marie", "Zoé"}));
    EXPECT_EQ(stored("Option8"), QStringLiteral("False"));
    EXPECT_EQ(stored("Option9"), QStringLiteral("True"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(OptionsPanelTest, AGenderClickStoresTheGroupAndRefillsBothLists) {
    MainWindow& window = loadAndShow();
    // Names taken out of the shown lists come back with the refill, which runs under the hourglass.
    window.listView2()->removeItem(1);
    int pointerDuringFill = -1;
    QObject::connect(&window.listView2()->items(), &QAbstractItemModel::modelReset,
                     [&] { pointerDuringFill = window.pointer().value(); });
    click("Option2");
    EXPECT_EQ(pointerDuringFill, WindowPointer::kHourglass);
    EXPECT_EQ(window.pointer().value(), WindowPointer::kDefault);
    EXPECT_EQ(stored("Option1"), QStringLiteral("False"));
    EXPECT_EQ(stored("Option2"), QStringLiteral("True"));
    EXPECT_EQ(stored("Option3"), QStringLiteral("False"));
    EXPECT_EQ(itemsOf(window.listView1()), QStringList({"Camille", "Jean", "Louis"}));
    EXPECT_EQ(window.listView2()->count(), 2);

    // The keyboard switches options as a click does.
    control("Option2")->setFocus();
    QTest::keyClick(control("Option2"), Qt::Key_Right);
    EXPECT_TRUE(option("Option3")->isChecked());
    EXPECT_EQ(stored("Option3"), QStringLiteral("True"));
    EXPECT_EQ(itemsOf(window.listView1()), QStringList({"Camille", "Marie", "Zoé"}));
}

TEST_F(OptionsPanelTest, APartOfNameClickStoresTheGroupWithoutARefill) {
    MainWindow& window = loadAndShow();
    window.listView1()->removeItem(1);
    click("Option6");
    EXPECT_EQ(stored("Option4"), QStringLiteral("False"));
    EXPECT_EQ(stored("Option5"), QStringLiteral("False"));
    EXPECT_EQ(stored("Option6"), QStringLiteral("True"));
    EXPECT_EQ(window.listView1()->count(), 4);
    // Clicking the option that is already on changes nothing.
    click("Option6");
    EXPECT_EQ(window.listView1()->count(), 4);
}

TEST_F(OptionsPanelTest, EveryChangeOfTheCountIsStoredAsTyped) {
    MainWindow& window = loadAndShow();
    QStringList seen;
    QObject::connect(window.text1(), &QLineEdit::textChanged, [&] { seen << stored("Text1"); });
    for (const char key : std::string_view("2500"))
        QTest::keyClick(window.text1(), key);
    EXPECT_EQ(seen, QStringList({"2", "25", "250", "2500"}));
    window.text1()->selectAll();
    QTest::keyClick(window.text1(), Qt::Key_Delete);
    EXPECT_EQ(stored("Text1"), QString());
    QTest::keyClicks(window.text1(), QStringLiteral("many"));
    EXPECT_EQ(stored("Text1"), QStringLiteral("many"));
}

// Help shows its three paragraphs, one empty line between each, under the application title, and
// changes nothing: no setting is stored and the lists stay as they are.
TEST_F(OptionsPanelTest, HelpShowsThreeParagraphsAndChangesNothing) {
    MainWindow& window = loadAndShow();
    const QStringList firstNames = window.listView1()->items().texts();
    const auto settingsText = [this] {
        QFile file(workspace.settingsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray settingsBefore = settingsText();
    click("PushButton8");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, applicationTitle());
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::None);
    const QStringList lines = QtDialogs::toDisplayText(dialogs.messages[0].text).split(u'\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[1].isEmpty() && lines[3].isEmpty());
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("1. ")) && lines[4].startsWith(QStringLiteral("2. ")));
    EXPECT_EQ(settingsText(), settingsBefore);
    EXPECT_EQ(window.listView1()->items().texts(), firstNames);
}

TEST_F(OptionsPanelTest, ARestartRestoresEveryChoice) {
    MainWindow& first = loadAndShow();
    click("Option2");
    click("Option8");
    click("Option5");
    first.text1()->setText(QStringLiteral("1 500"));

    // The User List was stored: the lists are filled from Halvard's List first, then from the user's.
    MainWindow& again = loadAndShow();
    EXPECT_TRUE(option("Option8")->isChecked());
    EXPECT_FALSE(option("Option9")->isChecked());
    EXPECT_TRUE(option("Option2")->isChecked());
    EXPECT_TRUE(option("Option5")->isChecked());
    EXPECT_FALSE(option("Option4")->isChecked());
    expectUserListShown(again);
    EXPECT_EQ(again.text1()->text(), QStringLiteral("1 500"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(OptionsPanelTest, StoredOddValuesAreRestoredAsTheyAre) {
    settings.StoreSetting(QStringLiteral("Text1"), QString());
    settings.StoreSetting(QStringLiteral("Option1"), QStringLiteral("0"));
    settings.StoreSetting(QStringLiteral("Option2"), QStringLiteral("1"));
    MainWindow& window = loadAndShow();
    // An empty count stays empty; "1" reads as on.
    EXPECT_EQ(window.text1()->text(), QString());
    EXPECT_TRUE(option("Option2")->isChecked());
    EXPECT_EQ(itemsOf(window.listView1()), QStringList({"Camille", "Jean", "Louis"}));
    // Switching an option on stores its whole group in words.
    EXPECT_EQ(stored("Option2"), QStringLiteral("True"));
    EXPECT_EQ(stored("Option1"), QStringLiteral("False"));
    EXPECT_TRUE(dialogs.messages.empty());

    settings.StoreSetting(QStringLiteral("Text1"), QStringLiteral("lots"));
    EXPECT_EQ(loadAndShow().text1()->text(), QStringLiteral("lots"));
}

TEST_F(OptionsPanelTest, AStoredValueThatIsNoTruthFailsOnlyItsOwnStep) {
    settings.StoreSetting(QStringLiteral("Option4"), QStringLiteral("yes"));
    settings.StoreSetting(QStringLiteral("Option6"), QStringLiteral("True"));
    loadAndShow();
    ASSERT_EQ(dialogs.errorReports().size(), 1);
    EXPECT_TRUE(dialogs.errorReports()[0].startsWith(QStringLiteral("Type mismatch\r\n") + reportAt("Form_Load", 148)))
        << dialogs.errorReports()[0].toStdString();
    // The later steps ran: switching Option6 on stored the whole group, replacing the bad value.
    EXPECT_TRUE(option("Option6")->isChecked());
    EXPECT_EQ(stored("Option4"), QStringLiteral("False"));
}

TEST_F(OptionsPanelTest, BothSourcesStoredOffLeaveTheListsAsFirstFilled) {
    settings.StoreSetting(QStringLiteral("Option9"), QStringLiteral("False"));
    MainWindow& window = loadAndShow();
    EXPECT_FALSE(option("Option9")->isChecked());
    EXPECT_FALSE(option("Option8")->isChecked());
    EXPECT_EQ(window.listView2()->count(), 2);
    EXPECT_TRUE(dialogs.messages.empty());
    // A later gender click refills nothing, since no source is chosen.
    window.listView2()->removeItem(1);
    click("Option3");
    EXPECT_EQ(window.listView2()->count(), 1);
}

TEST_F(OptionsPanelTest, AMissingDatabaseIsReportedAtEachFailingStepAndNeverCreated) {
    QFile::remove(workspace.nameDatabase());
    settings.StoreSetting(QStringLiteral("Option8"), QStringLiteral("True"));
    settings.StoreSetting(QStringLiteral("Option9"), QStringLiteral("False"));
    MainWindow& window = loadAndShow();
    // The first fill at 136, and the User List's refill when 140 switches it on.
    ASSERT_EQ(dialogs.errorReports().size(), 2);
    EXPECT_TRUE(dialogs.errorReports()[0].startsWith(QStringLiteral("unable to open database file: ")));
    EXPECT_TRUE(dialogs.errorReports()[0].contains(reportAt("Form_Load", 136)));
    EXPECT_TRUE(dialogs.errorReports()[1].contains(reportAt("Form_Load", 140)));
    // The switch ran up to its refill, and the later steps of the load ran too.
    EXPECT_EQ(caption("PushButton4"), QStringLiteral("Clear"));
    EXPECT_EQ(window.text1()->text(), QStringLiteral("100"));
    EXPECT_EQ(window.pointer().value(), WindowPointer::kDefault);

    // A click reports under its own handler, and the program goes on.
    click("Option9");
    ASSERT_EQ(dialogs.errorReports().size(), 3);
    EXPECT_TRUE(dialogs.errorReports()[2].contains(reportAt("Option9_Click", 110)));
    EXPECT_EQ(caption("PushButton4"), QStringLiteral("Delete"));
    EXPECT_EQ(stored("Option9"), QStringLiteral("True"));
    EXPECT_EQ(window.pointer().value(), WindowPointer::kDefault);
    EXPECT_FALSE(QFileInfo::exists(workspace.nameDatabase()));

    // Once the file is back, the next click fills the lists.
    workspace.installBuiltInNames();
    click("Option2");
    EXPECT_EQ(window.listView1()->count(), 2254);
    EXPECT_EQ(dialogs.errorReports().size(), 3);
}

TEST_F(OptionsPanelTest, AFailedQueryKeepsTheListsPreviousNames) {
    MainWindow& window = loadAndShow();
    NameDatabase database(workspace.nameDatabase());
    database.open();
    database.execute("drop table system_mfirstname");
    database.close();
    click("Option2");
    ASSERT_EQ(dialogs.errorReports().size(), 1);
    EXPECT_TRUE(dialogs.errorReports()[0].startsWith(QStringLiteral("no such table: system_mfirstname\r\n") +
                                                     reportAt("Option2_Click", 106)));
    EXPECT_EQ(itemsOf(window.listView1()), QStringList({"Camille", "Jean", "Louis", "Marie", "Zoé"}));
    EXPECT_EQ(stored("Option2"), QStringLiteral("True"));
}

TEST_F(OptionsPanelTest, ASettingThatCannotBeStoredIsReportedAndTheClickGoesOn) {
    // Nothing can be written below a file, not even by root.
    SettingsStore blocked(workspace.writeFile(QStringLiteral("blocker"), "x") + QStringLiteral("/settings.ini"));
    AppContext context{dialogs, workspace.paths(), blocked, random, [] { return test::kQuietStart; }, [] {}};
    MainWindow other(context);
    other.load();
    ASSERT_EQ(dialogs.errorReports().size(), 1);
    EXPECT_TRUE(dialogs.errorReports()[0].contains(reportAt("Form_Load", 154)));
    QTest::mouseClick(other.control(QStringLiteral("Option8")), Qt::LeftButton, {}, QPoint(8, 8));
    // Both stores fail, each reported; captions, greying and the refill still happen.
    ASSERT_EQ(dialogs.errorReports().size(), 3);
    EXPECT_TRUE(dialogs.errorReports()[1].contains(reportAt("Option8_Click", 104)));
    EXPECT_TRUE(dialogs.errorReports()[2].contains(reportAt("Option8_Click", 106)));
    EXPECT_FALSE(other.control(QStringLiteral("Option1"))->isEnabled());
    EXPECT_EQ(other.listView2()->count(), 1);
}
