#include "core/apperror.h"
#include "core/appinfo.h"
#include "core/procedures.h"
#include "core/twips.h"
#include "filesizelimit.h"
#include "mainwindowfixture.h"
#include "widgets/windowpointer.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
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
        EXPECT_EQ(w->parentWidget()->objectName(), QString::fromUtf8(e.container));
        QString caption;
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            caption = button->text();
        else if (auto* frame = qobject_cast<QGroupBox*>(w))
            caption = frame->title();
        EXPECT_EQ(caption, QString::fromUtf8(e.caption));
        const int top = w->mapTo(&window, QPoint(0, 0)).y();
        EXPECT_GE(top, previousTop);
        EXPECT_LE(w->mapTo(&window, QPoint(w->width(), w->height())).y(), window.height());
        previousTop = top;
    }
    const double dpi = window.logicalDpiX();
    EXPECT_EQ(window.size(), QSize(twipsToPixels(8040, dpi), twipsToPixels(7800, dpi)));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
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
