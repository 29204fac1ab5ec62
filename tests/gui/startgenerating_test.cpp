#include "core/procedures.h"
#include "generator/namegenerator.h"
#include "mainwindowfixture.h"
#include "ui/windowpointer.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

using namespace quillory;

namespace {

class StartGeneratingTest : public test::MainWindowFixture {
protected:
    /** The main window loaded and shown, with these shown lists and this count. */
    MainWindow& ready(const QStringList& first, const QStringList& last, const QString& count) {
        MainWindow& window = loadAndShow();
        window.listView1()->setItems(first);
        window.listView2()->setItems(last);
        window.text1()->setText(count);
        m_main = &window;
        return window;
    }

    void clickStart() { QTest::mouseClick(m_main->control(QStringLiteral("PushButton1")), Qt::LeftButton); }

    /** Runs again from the results window, as "< Back" and a click would. */
    void runAgain(const QString& count) {
        results().backClick();
        m_main->text1()->setText(count);
        clickStart();
    }

    QStringList resultTexts() {
        QStringList texts;
        const ListControl* list = results().listView1();
        for (int i = 1; i <= list->count(); ++i)
            texts << list->item(i);
        return texts;
    }

    std::vector<QString> messageTexts() const {
        std::vector<QString> texts;
        for (const auto& m : dialogs.messages)
            texts.push_back(m.text);
        return texts;
    }

    const QStringList anne = {QStringLiteral("Anne")};
    const QStringList martin = {QStringLiteral("Martin")};

private:
    MainWindow* m_main = nullptr;
};

} // namespace

TEST_F(StartGeneratingTest, ACountThatIsNotANumberGetsOnlyItsMessage) {
    MainWindow& window = ready(anne, martin, QString());
    for (const char* count : {"", "abc", "12 names", "1,00"}) {
        window.text1()->setText(QString::fromUtf8(count));
        clickStart();
    }
    ASSERT_EQ(dialogs.messages.size(), 4u);
    for (const auto& m : dialogs.messages) {
        EXPECT_EQ(m.title, applicationTitle());
        EXPECT_EQ(m.text, QStringLiteral("How many does not appear to be a number."));
        EXPECT_EQ(m.icon, MessageIcon::None);
    }
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.pointer().value(), WindowPointer::kDefault);
    EXPECT_FALSE(results().isLoaded()) << "the results list was touched";

    // The busy mark was cleared: the next click runs.
    window.text1()->setText(QStringLiteral("3"));
    clickStart();
    EXPECT_EQ(resultTexts(), QStringList(3, QStringLiteral("Anne Martin")));
}

TEST_F(StartGeneratingTest, AMillionPassesAndAnyCountThatMakesMoreGetsOnlyItsMessage) {
    MainWindow& window = ready(anne, martin, QStringLiteral("1,000,001"));
    clickStart();
    window.text1()->setText(QStringLiteral("1000000.6"));
    clickStart();
    EXPECT_EQ(messageTexts(),
              std::vector<QString>(2, QStringLiteral("You must select an amount less than one million.")));
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(results().isLoaded());

    window.text1()->setText(QStringLiteral("1,000,000"));
    clickStart();
    EXPECT_EQ(dialogs.messages.size(), 2u);
    ASSERT_EQ(results().listView1()->count(), 1'000'000);
    EXPECT_EQ(results().listView1()->item(1'000'000), QStringLiteral("Anne Martin"));
}

TEST_F(StartGeneratingTest, ARunShowsProgressUnderTheHourglassThenTheResultsWindow) {
    MainWindow& window = ready(anne, martin, QStringLiteral("1,000"));
    std::vector<int> values;
    std::vector<int> pointerDuringRun;
    QObject::connect(window.progressBar1(), &QProgressBar::valueChanged, [&](int value) {
        values.push_back(value);
        pointerDuringRun.push_back(window.pointer().value());
    });
    clickStart();

    EXPECT_EQ(results().listView1()->count(), 1000);
    ASSERT_GE(values.size(), 2u);
    EXPECT_EQ(values[values.size() - 2], 100) << "the bar reaches 100 with the last name";
    EXPECT_LE(values.size(), 101u);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end() - 1));
    EXPECT_EQ(pointerDuringRun.front(), WindowPointer::kHourglass);
    // At rest again: 0 and its caption, the arrow, the main window hidden behind the results.
    EXPECT_EQ(window.progressBar1()->value(), 0);
    EXPECT_EQ(window.progressBar1()->text(), QStringLiteral("Progress Bar"));
    EXPECT_EQ(window.pointer().value(), WindowPointer::kDefault);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(results().isVisible());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(StartGeneratingTest, HalvesRoundToEvenAndNoPositiveCountGivesAnEmptyResultsWindow) {
    MainWindow& window = ready(anne, martin, QStringLiteral("2.5"));
    clickStart();
    EXPECT_EQ(results().listView1()->count(), 2);
    runAgain(QStringLiteral("3.5"));
    EXPECT_EQ(results().listView1()->count(), 4);
    for (const char* count : {"0", "-5"}) {
        runAgain(QString::fromUtf8(count));
        EXPECT_EQ(results().listView1()->count(), 0) << count;
        EXPECT_TRUE(results().isVisible());
        EXPECT_FALSE(window.isVisible());
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(StartGeneratingTest, DrawsFromTheListsAsShownInTheSequencesOrder) {
    MainWindow& window = ready({QStringLiteral("MARIE"), QStringLiteral("Anne"), QStringLiteral("jean-pierre")},
                               {QStringLiteral("de la tour"), QStringLiteral("Martin")}, QStringLiteral("300"));
    // A name taken out of the shown list is never drawn, though it is still stored.
    window.listView1()->removeItem(2);
    random.reseed(77);
    clickStart();

    RandomSource expected(77);
    const auto names =
        generateNames({QStringLiteral("MARIE"), QStringLiteral("jean-pierre")},
                      {QStringLiteral("de la tour"), QStringLiteral("Martin")}, NamePart::FirstAndLast, 300, expected);
    QStringList expectedTexts;
    for (qsizetype i = 0; i < names->size(); ++i)
        expectedTexts << names->text(i);
    EXPECT_EQ(resultTexts(), expectedTexts);
    EXPECT_FALSE(resultTexts().join(QLatin1Char('|')).contains(QStringLiteral("Anne")));
    EXPECT_TRUE(expectedTexts.contains(QStringLiteral("Jean-Pierre Delatour")));
    EXPECT_EQ(random.nextBits(), expected.nextBits()) << "the run drew more or fewer numbers than two a name";
}

TEST_F(StartGeneratingTest, ThePartOfNameChosenIsWhatIsListed) {
    ready(anne, {}, QStringLiteral("2"));
    clickStart();
    EXPECT_EQ(resultTexts(), QStringList(2, QStringLiteral("Anne ")));
    results().backClick();
    QTest::mouseClick(control("Option6"), Qt::LeftButton);
    runAgain(QStringLiteral("2"));
    EXPECT_EQ(resultTexts(), QStringList(2, QString()));
    results().backClick();
    QTest::mouseClick(control("Option5"), Qt::LeftButton);
    runAgain(QStringLiteral("2"));
    EXPECT_EQ(resultTexts(), QStringList(2, QStringLiteral("Anne")));
}

TEST_F(StartGeneratingTest, AClickQueuedBehindARunChangesNothing) {
    ready(anne, martin, QStringLiteral("50"));
    random.reseed(5);
    // Two clicks waiting, as a quick double click leaves them: the first run lets pending events
    // through once, which delivers the second while the first is busy. Both are due before anything
    // runs (timers of no delay), so what happens does not depend on the machine's speed.
    int clicks = 0;
    QTimer first;
    QTimer second;
    for (QTimer* click : {&first, &second}) {
        click->setSingleShot(true);
        click->setInterval(0);
        QObject::connect(click, &QTimer::timeout, [this, &clicks] {
            ++clicks;
            clickStart();
        });
        click->start();
    }
    QCoreApplication::processEvents();
    ASSERT_EQ(clicks, 2);

    EXPECT_EQ(results().listView1()->count(), 50);
    RandomSource expected(5);
    for (int i = 0; i < 100; ++i)
        expected.next();
    EXPECT_EQ(random.nextBits(), expected.nextBits()) << "the queued click ran a second time";
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(StartGeneratingTest, BackKeepsTheResultsUntilTheNextRunReplacesThem) {
    MainWindow& window = ready(anne, martin, QStringLiteral("3"));
    clickStart();
    QTest::mouseClick(results().control(QStringLiteral("PushButton8")), Qt::LeftButton);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(results().isVisible());
    EXPECT_EQ(results().listView1()->count(), 3);

    window.listView2()->setItems({QStringLiteral("Petit")});
    window.text1()->setText(QStringLiteral("2"));
    clickStart();
    EXPECT_EQ(resultTexts(), QStringList(2, QStringLiteral("Anne Petit")));
}

TEST_F(StartGeneratingTest, ClosingTheResultsWindowEndsTheProgram) {
    ready(anne, martin, QStringLiteral("1"));
    clickStart();
    results().close();
    EXPECT_EQ(endProgramCalls, 1);
}

// The keys people press: Enter in the count box starts a run; in the results window, from the list,
// the folder box or a button, Ctrl+S is "Save Results", Ctrl+Shift+S "Save As…", and Alt+Left and
// Escape are "< Back".
TEST_F(StartGeneratingTest, TheKeysPeoplePressDoWhatTheButtonsDo) {
    MainWindow& window = ready(anne, martin, QStringLiteral("3"));
    window.activateWindow();
    window.text1()->setFocus();
    QTest::keyClick(window.text1(), Qt::Key_Return);
    ASSERT_TRUE(results().isVisible()) << "Enter started no run";
    EXPECT_EQ(resultTexts(), QStringList(3, QStringLiteral("Anne Martin")));

    const char* const focused[] = {"ListView1", "Text2", "PushButton2"};
    for (const char* name : focused) {
        SCOPED_TRACE(name);
        QWidget* target = results().control(QString::fromLatin1(name));
        results().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&results()));
        target->setFocus();

        QFile::remove(results().text2()->text() + QStringLiteral("results.txt"));
        const std::size_t shown = dialogs.messages.size();
        QTest::keyClick(target, Qt::Key_S, Qt::ControlModifier);
        ASSERT_EQ(dialogs.messages.size(), shown + 1) << "Ctrl+S saved nothing";
        EXPECT_TRUE(dialogs.messages.back().text.startsWith(QStringLiteral("Done.")));
        EXPECT_TRUE(QFile::exists(results().text2()->text() + QStringLiteral("results.txt")));

        dialogs.answerSaveFile(QString(), -1);
        const std::size_t saves = dialogs.savesShown.size();
        QTest::keyClick(target, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(dialogs.savesShown.size(), saves + 1) << "Ctrl+Shift+S showed no Save As";

        for (const auto& [key, modifiers] :
             {std::pair{Qt::Key_Left, Qt::AltModifier}, std::pair{Qt::Key_Escape, Qt::NoModifier}}) {
            results().showResults();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&results()));
            target->setFocus();
            QTest::keyClick(target, key, modifiers);
            EXPECT_FALSE(results().isVisible()) << "no way back by key " << key;
            EXPECT_TRUE(window.isVisible());
            results().showResults();
        }
    }
}
