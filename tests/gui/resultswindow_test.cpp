#include "core/apperror.h"
#include "core/appinfo.h"
#include "core/procedures.h"
#include "core/twips.h"
#include "filesizelimit.h"
#include "mainwindowfixture.h"
#include "ui/qtdialogs.h"
#include "ui/windowpointer.h"
#include "workbookreader.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>

#include <gtest/gtest.h>

using namespace quillory;

namespace {

class ResultsWindowTest : public test::MainWindowFixture {
protected:
    /** The results window after a run that listed `names`, shown, the main window hidden. */
    ResultsWindow& shownWith(const QStringList& names) {
        loadAndShow().hide();
        ResultsWindow& window = results();
        window.clearResults();
        window.setResults(std::make_shared<StringListItems>(names));
        window.showResults();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        return window;
    }

    QWidget* resultsControl(const char* name) { return results().control(QString::fromUtf8(name)); }
    void click(const char* name) { QTest::mouseClick(resultsControl(name), Qt::LeftButton); }

    QString stored(const char* key) {
        return QSettings(workspace.settingsFile(), QSettings::IniFormat)
            .value(QStringLiteral("Quillory/") + key)
            .toString();
    }

    static QByteArray contentOf(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    const QStringList names = {QStringLiteral("Anne Martin"), QStringLiteral("Élodie Côté"), QStringLiteral(" Petit")};

    QString workbookFolder() const { return workspace.path(QStringLiteral("cache/workbooks")); }

    /** Chooses an output and clicks "Save Results" into the desktop folder. */
    void saveAs(const char* output) {
        click(output);
        click("PushButton2");
    }

    /** The one workbook handed to the spreadsheet application so far, read back. */
    test::WorkbookContent handedOver() {
        EXPECT_EQ(dialogs.programsStarted.size() + std::size_t(dialogs.documentsOpened.size()), 1u);
        const QString path =
            dialogs.programsStarted.empty() ? dialogs.documentsOpened.value(0) : dialogs.programsStarted[0].value(2);
        EXPECT_TRUE(path.startsWith(workbookFolder() + QLatin1Char('/'))) << path.toStdString();
        return test::readWorkbook(path);
    }
};

} // namespace

TEST_F(ResultsWindowTest, ControlsStandTopToBottomWithTheirCaptions) {
    ResultsWindow& window = shownWith({});
    struct Expected {
        const char* name;
        const char* caption;
        const char* container;
    };
    const Expected expected[] = {
        {"PushButton8", "< Back", "Form2"},
        {"Frame2", "Output", "Form2"},
        {"Option4", "Text File", "Frame2"},
        {"Option5", "Excel (2 cells)", "Frame2"},
        {"Option6", "Excel (1 cell)", "Frame2"},
        {"ListView1", "", "Form2"},
        {"Frame4", "Save Results To This Folder", "Form2"},
        {"Text2", "", "Frame4"},
        {"PushButton1", "...", "Frame4"},
        {"PushButton2", "Save Results", "Form2"},
    };
    int previousTop = -1;
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.name);
        QWidget* w = resultsControl(e.name);
        ASSERT_NE(w, nullptr);
        // The design's "Form2" is the window's designed form.
        EXPECT_EQ(w->parentWidget(), QByteArrayView(e.container) == "Form2"
                                         ? window.form()
                                         : window.control(QString::fromUtf8(e.container)));
        QString caption;
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            caption = button->text();
        else if (auto* frame = qobject_cast<QGroupBox*>(w))
            caption = frame->title();
        EXPECT_EQ(caption, QString::fromUtf8(e.caption));
        const int top = w->mapTo(window.form(), QPoint(0, 0)).y();
        EXPECT_GE(top, previousTop);
        EXPECT_LE(w->mapTo(window.form(), QPoint(w->width(), w->height())).y(), window.form()->height());
        previousTop = top;
    }
    const double dpi = window.logicalDpiX();
    // The designed form as designed, between the menu bar and the status line.
    EXPECT_EQ(window.form()->size(), QSize(twipsToPixels(8040, dpi), twipsToPixels(7800, dpi)));
    EXPECT_EQ(window.statusLine()->y(), window.form()->geometry().bottom() + 1);
    EXPECT_EQ(window.height(), window.statusLine()->geometry().bottom() + 1);
    EXPECT_EQ(window.minimumSize(), window.size());
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(qobject_cast<QRadioButton*>(resultsControl("Option4"))->isChecked());
    EXPECT_DOUBLE_EQ(resultsControl("PushButton2")->font().pointSizeF(), 11.25);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Quillory"));
    EXPECT_EQ(window.listView1()->items().headerText(), QStringLiteral("Names"));
    EXPECT_EQ(window.listView1()->columnWidth(0), twipsToPixels(7000, dpi));
}

TEST_F(ResultsWindowTest, TheSaveFolderIsTheStoredOneOrTheDesktopAndIsStoredAtOnce) {
    shownWith({});
    EXPECT_EQ(results().text2()->text(), desktop());
    EXPECT_EQ(stored("Text2"), desktop());

    settings.StoreSetting(QStringLiteral("Text2"), QStringLiteral("/srv/names/"));
    shownWith({});
    EXPECT_EQ(results().text2()->text(), QStringLiteral("/srv/names/"));
}

// A fresh account without a desktop folder: the first "Save Results" writes results.txt into the
// home folder, and says so, rather than asking for another folder.
TEST_F(ResultsWindowTest, AHomeWithoutADesktopSavesIntoTheHomeFolder) {
    const QString home = workspace.path(QStringLiteral("fresh-home"));
    QDir().mkpath(home);
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", home.toUtf8());
    desktopPath = GetDesktopPath;
    shownWith(names);
    qputenv("HOME", oldHome);
    EXPECT_EQ(results().text2()->text(), home + u'/');
    saveAs("Option4");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(QStringLiteral("Done."))) << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(contentOf(home + QStringLiteral("/results.txt")).count('\n'), names.size());
}

TEST_F(ResultsWindowTest, WithoutADesktopTheLoadReportsItsStepAndLeavesTheFolderEmpty) {
    desktopPath = []() -> QString { throw AppError(QStringLiteral("Invalid procedure call or argument")); };
    settings.StoreSetting(QStringLiteral("Text2"), QStringLiteral("/srv/names/"));
    shownWith({});
    ASSERT_EQ(dialogs.errorReports().size(), 1);
    EXPECT_TRUE(dialogs.errorReports()[0].startsWith(
        QStringLiteral("Invalid procedure call or argument\r\nin Tarvisk2021/08/31.Form2.Form_Load at line 112\r\r")));
    EXPECT_EQ(results().text2()->text(), QString());
    EXPECT_EQ(results().listView1()->items().headerText(), QStringLiteral("Names"));
}

TEST_F(ResultsWindowTest, TypingStoresEveryIntermediateFolderText) {
    shownWith({});
    results().text2()->clear();
    QTest::keyClicks(results().text2(), QStringLiteral("/tmp"));
    EXPECT_EQ(stored("Text2"), QStringLiteral("/tmp"));
    QTest::keyClick(results().text2(), Qt::Key_Backspace);
    EXPECT_EQ(stored("Text2"), QStringLiteral("/tm"));
}

TEST_F(ResultsWindowTest, PointerShowsTheHandOverButtonsOnly) {
    installHandCursor();
    shownWith(names);
    ResultsWindow& window = results();
    const auto over = [&](const char* name) {
        QWidget* target = resultsControl(name);
        QTest::mouseMove(target, QPoint(target->width() / 2, target->height() - 3));
        QCoreApplication::processEvents();
        return window.pointer().value();
    };
    for (const char* button : {"PushButton1", "PushButton2", "PushButton8"}) {
        EXPECT_EQ(over("Frame2"), WindowPointer::kDefault);
        EXPECT_EQ(over(button), WindowPointer::kCustom) << button;
    }
    EXPECT_EQ(over("Text2"), WindowPointer::kCustom) << "the folder box has no feedback of its own";
    for (const char* background : {"ListView1", "Option5", "Frame4"})
        EXPECT_EQ(over(background), WindowPointer::kDefault) << background;
    EXPECT_TRUE(window.pointer().hasCustomCursor());
}

TEST_F(ResultsWindowTest, SavingWritesResultsTxtAndSaysWhere) {
    const QString folder = workspace.path(QStringLiteral("out"));
    QDir().mkpath(folder);
    shownWith(names);
    const QString path = folder + QStringLiteral("/results.txt");
    for (const QString& typed : {folder, folder + QLatin1Char('/')}) {
        results().text2()->setText(typed);
        click("PushButton2");
        EXPECT_EQ(contentOf(path), QByteArray("Anne Martin\r\n\xc3\x89lodie C\xc3\xb4t\xc3\xa9\r\n Petit\r\n"));
        ASSERT_FALSE(dialogs.messages.empty());
        EXPECT_EQ(dialogs.messages.back().text,
                  QStringLiteral("Done.\r\r") + path + QStringLiteral("\r\n\r\nwas created."));
        EXPECT_EQ(dialogs.messages.back().title, applicationTitle());
    }
    // A later save replaces the file without asking; an empty list gives an empty file.
    results().setResults(std::make_shared<StringListItems>(QStringList()));
    click("PushButton2");
    EXPECT_EQ(contentOf(path), QByteArray());
    EXPECT_EQ(dialogs.messages.size(), 3u);
    EXPECT_TRUE(dialogs.errorReports().isEmpty());
}

TEST_F(ResultsWindowTest, AFolderThatDoesNotExistGetsOnlyItsMessageWhateverTheOutput) {
    shownWith(names);
    const QString missing = workspace.path(QStringLiteral("nowhere"));
    results().text2()->setText(missing);
    for (const char* output : {"Option4", "Option5", "Option6"}) {
        click(output);
        click("PushButton2");
        ASSERT_FALSE(dialogs.messages.empty());
        EXPECT_EQ(dialogs.messages.back().text, QStringLiteral("Folder does not exist. Please select another folder."));
    }
    EXPECT_EQ(dialogs.messages.size(), 3u);
    EXPECT_FALSE(QFileInfo::exists(missing));
    // A file is no folder either.
    results().text2()->setText(workspace.writeFile(QStringLiteral("plain.txt"), "x"));
    click("Option4");
    click("PushButton2");
    EXPECT_EQ(dialogs.messages.size(), 4u);
}

TEST_F(ResultsWindowTest, AFailedWriteIsReportedAndTheEarlierFileSurvives) {
    const QString path = workspace.writeFile(QStringLiteral("out/results.txt"), "earlier\r\n");
    QStringList many;
    for (int i = 0; i < 10'000; ++i)
        many << QStringLiteral("Anne Martin");
    shownWith(many);
    results().text2()->setText(workspace.path(QStringLiteral("out")));
    {
        const test::FileSizeLimit limit(4096);
        click("PushButton2");
    }
    ASSERT_EQ(dialogs.messages.size(), 1u) << "no \"Done.\" after a failure";
    EXPECT_TRUE(dialogs.errorReports()[0].contains(
        QStringLiteral("\r\nin Tarvisk2021/08/31.Form2.PushButton2_Click at line 122\r\r")));
    EXPECT_TRUE(dialogs.errorReports()[0].contains(QStringLiteral("File too large"))) << "the system's own reason";
    EXPECT_EQ(contentOf(path), QByteArray("earlier\r\n"));
    EXPECT_EQ(QDir(workspace.path(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("results.txt")});
}

TEST_F(ResultsWindowTest, TheFolderBrowserSetsTheFolderWithOneTrailingSeparator) {
    shownWith({});
    const QString picked = workspace.path(QStringLiteral("picked"));
    dialogs.answerFolder(picked);
    dialogs.answerFolder(QStringLiteral("/"));
    click("PushButton1");
    ASSERT_EQ(dialogs.foldersShown.size(), 1u);
    EXPECT_EQ(dialogs.foldersShown[0].title, QStringLiteral("Save To This Folder"));
    EXPECT_EQ(dialogs.foldersShown[0].startFolder, QString());
    EXPECT_EQ(results().text2()->text(), picked + QLatin1Char('/'));
    EXPECT_EQ(stored("Text2"), picked + QLatin1Char('/'));
    EXPECT_EQ(stored("LastFolderDot"), picked);

    click("PushButton1");
    EXPECT_EQ(results().text2()->text(), QStringLiteral("/"));
    EXPECT_EQ(stored("LastFolderDot"), QStringLiteral("/"));
}

TEST_F(ResultsWindowTest, CancellingTheFolderBrowserChangesNothing) {
    shownWith({});
    dialogs.answerFolder(QString());
    click("PushButton1");
    EXPECT_EQ(results().text2()->text(), desktop());
    EXPECT_EQ(stored("Text2"), desktop());
    EXPECT_EQ(stored("LastFolderDot"), QString());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ResultsWindowTest, TwoCellsPutTheFirstNameInAAndTheLastNameInB) {
    shownWith({"Anne Martin", "Élodie Côté", " Petit", "Jean ", "0123 =1+1", "Marie"});
    saveAs("Option5");

    EXPECT_TRUE(dialogs.messages.empty()) << "the workbook shown is the only answer";
    ASSERT_EQ(dialogs.programsStarted.size(), 1u);
    EXPECT_EQ(dialogs.programsStarted[0].mid(0, 2), QStringList({kOfficeProgram, "-n"}));
    const test::WorkbookContent content = handedOver();
    ASSERT_EQ(content.error, QString());
    EXPECT_EQ(content.column(1, 6), QStringList({"Anne", "Élodie", "", "Jean", "0123", "Marie"}));
    EXPECT_EQ(content.column(2, 6), QStringList({"Martin", "Côté", "Petit", "", "=1+1", ""}));
    for (const test::WorkbookCell& cell : content.cells)
        EXPECT_EQ(cell.type, QStringLiteral("s"));
    EXPECT_EQ(content.widths.keys(), QStringList({"A", "B"}));
    // The save folder is tested but never written to.
    EXPECT_EQ(QDir(desktop()).entryList(QDir::Files), QStringList());
}

TEST_F(ResultsWindowTest, OneCellHoldsTheWholeNameAndTheDesktopOpensItWithoutLibreOffice) {
    installedPrograms.clear();
    desktopOpensWorkbooks = true;
    shownWith(names);
    saveAs("Option6");

    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.programsStarted.empty());
    const test::WorkbookContent content = handedOver();
    ASSERT_EQ(content.error, QString());
    EXPECT_EQ(content.column(1, 3), names);
    EXPECT_EQ(content.cells.size(), 3u);
    EXPECT_EQ(content.widths.keys(), QStringList({"A"}));
    EXPECT_FALSE(QFileInfo(dialogs.documentsOpened.value(0)).permissions() & (QFile::WriteOwner | QFile::WriteOther))
        << "the handed-over file is read-only, so it can only be saved elsewhere";
}

TEST_F(ResultsWindowTest, AnEmptyListGivesAnEmptyWorkbookAndEachSaveANewOne) {
    shownWith({});
    saveAs("Option5");
    saveAs("Option6");
    ASSERT_EQ(dialogs.programsStarted.size(), 2u);
    EXPECT_NE(dialogs.programsStarted[0][2], dialogs.programsStarted[1][2]);
    for (const QStringList& started : dialogs.programsStarted) {
        const test::WorkbookContent content = test::readWorkbook(started[2]);
        ASSERT_EQ(content.error, QString());
        EXPECT_EQ(content.sheets, 1);
        EXPECT_TRUE(content.cells.empty());
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

// No spreadsheet program is an ordinary situation: one plain question, no error report, and on a Yes
// "Save As…" on the workbook type, at results.xlsx in the save folder; the workbook is written where
// the user chooses. A No writes nothing.
TEST_F(ResultsWindowTest, WithoutASpreadsheetProgramTheWorkbookIsOfferedAsAFile) {
    installedPrograms.clear();
    shownWith(names);
    const QString folder = results().text2()->text();
    const struct {
        const char* output;
        bool yes;
        int filter;         // the type the dialog starts on
        const char* chosen; // where the user saves it
        int columnB;        // how many names end up in column B
    } cases[] = {
        {"Option5", false, 4, nullptr, 0},
        {"Option6", false, 3, nullptr, 0},
        {"Option5", true, 4, "two", 3},
        {"Option6", true, 3, "one.xlsx", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.output) + (c.yes ? " yes" : " no"));
        dialogs.confirmsShown.clear();
        dialogs.answerConfirm(c.yes);
        const std::size_t saves = dialogs.savesShown.size();
        if (c.yes)
            dialogs.answerSaveFile(workspace.path(QLatin1String(c.chosen)), c.filter);
        saveAs(c.output);
        EXPECT_TRUE(dialogs.errorReports().isEmpty()) << dialogs.errorReports().join(u'\n').toStdString();
        ASSERT_EQ(dialogs.confirmsShown.size(), 1u);
        EXPECT_TRUE(dialogs.confirmsShown[0].text.startsWith(QStringLiteral("No spreadsheet program is installed")));
        ASSERT_EQ(dialogs.savesShown.size(), saves + (c.yes ? 1 : 0));
        if (!c.yes)
            continue;
        EXPECT_EQ(dialogs.savesShown.back().startFolder, QDir(folder).filePath(QStringLiteral("results.xlsx")));
        EXPECT_EQ(dialogs.savesShown.back().selectedFilter, c.filter);
        const test::WorkbookContent book = test::readWorkbook(workspace.path(QLatin1String(c.chosen)) +
                                                              (QByteArray(c.chosen).contains('.') ? "" : ".xlsx"));
        ASSERT_EQ(book.error, QString());
        EXPECT_EQ(book.column(1, 3).size(), 3);
        EXPECT_EQ(book.column(2, 3).filter(QRegularExpression(QStringLiteral("."))).size(), c.columnB);
    }
    EXPECT_FALSE(QFileInfo::exists(workbookFolder())) << "nothing is handed to nobody";
}

TEST_F(ResultsWindowTest, AFailingWorkbookStepIsReportedWithItsNumber) {
    const auto reportLine = [this] {
        const QStringList reports = dialogs.errorReports();
        const QString last = reports.isEmpty() ? QString() : reports.back();
        const qsizetype at = last.indexOf(QStringLiteral(" at line "));
        return at < 0 ? -1 : last.mid(at + 9, 3).toInt();
    };
    // No cache folder to make the workbook in: 130 or 150, and nothing is handed over.
    cacheFolder = []() -> QString { throw AppError(QStringLiteral("Invalid procedure call or argument")); };
    shownWith({QStringLiteral("Anne Martin"), QString(40'000, u'a'), QStringLiteral("Marie Curie")});
    saveAs("Option5");
    EXPECT_EQ(reportLine(), 130);
    saveAs("Option6");
    EXPECT_EQ(reportLine(), 150);
    EXPECT_TRUE(dialogs.programsStarted.empty());

    // A cell that cannot hold its text (too long for a cell): its step is named once, and the
    // names before it still reach the user.
    cacheFolder = [this] { return workspace.path(QStringLiteral("cache")); };
    saveAs("Option5");
    EXPECT_EQ(reportLine(), 136);
    saveAs("Option6");
    EXPECT_EQ(reportLine(), 154);
    EXPECT_EQ(dialogs.errorReports().size(), 4);
    ASSERT_EQ(dialogs.programsStarted.size(), 2u);
    EXPECT_EQ(test::readWorkbook(dialogs.programsStarted[1][2]).column(1, 2), QStringList({"Anne Martin", ""}));

    // A workbook that cannot be written in full: 144 or 160, no file, nothing handed over.
    results().setResults(std::make_shared<StringListItems>(QStringList(20'000, QStringLiteral("Anne Martin"))));
    for (const char* output : {"Option5", "Option6"}) {
        const test::FileSizeLimit limit(4096);
        saveAs(output);
    }
    const QStringList reports = dialogs.errorReports();
    ASSERT_EQ(reports.size(), 6);
    EXPECT_TRUE(reports[4].contains(QStringLiteral("at line 144")));
    EXPECT_TRUE(reports[5].contains(QStringLiteral("at line 160")));
    EXPECT_EQ(dialogs.programsStarted.size(), 2u);
    EXPECT_EQ(QDir(workbookFolder()).entryList(QDir::Files).size(), 2);
}

// The real seam: a spreadsheet application that cannot be started, and a desktop with no application
// for workbooks (the offscreen platform has none), are reported at the last step of each output, once
// the workbook is written.
TEST_F(ResultsWindowTest, AWorkbookTheSystemCannotOpenIsReportedAtTheHandOver) {
    QtDialogs real;
    dialogs.launchWith = &real;
    installedPrograms = {{QStringLiteral("soffice"), workspace.path(QStringLiteral("no/such/soffice"))}};
    shownWith(names);
    saveAs("Option5");
    installedPrograms.clear();
    desktopOpensWorkbooks = true;
    saveAs("Option6");
    const QString tag = QStringLiteral("\r\nin Tarvisk2021/08/31.Form2.PushButton2_Click at line ");
    ASSERT_EQ(dialogs.errorReports().size(), 2);
    EXPECT_TRUE(dialogs.errorReports()[0].contains(tag + QStringLiteral("144\r\r")))
        << dialogs.errorReports()[0].toStdString();
    EXPECT_TRUE(dialogs.errorReports()[1].contains(tag + QStringLiteral("160\r\r")))
        << dialogs.errorReports()[1].toStdString();
    EXPECT_EQ(QDir(workbookFolder()).entryList(QDir::Files).size(), 2) << "both were written before the hand-over";
}
