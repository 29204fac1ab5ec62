#include "core/apperror.h"
#include "core/appinfo.h"
#include "core/random.h"
#include "core/twips.h"
#include "mainwindowfixture.h"
#include "ui/listcontrol.h"
#include "ui/windowpointer.h"
#include "widgets/mainwindow.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace quillory;

namespace {

class MainWindowTest : public test::MainWindowFixture {};

QString captionOf(QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return g->title();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* p = qobject_cast<QProgressBar*>(w))
        return p->text();
    return {};
}

} // namespace

// What the user sees of the design: every control shown, whole, inside its container; none covering
// another; each caption with the room to show in full; and the window's parts from top to bottom.
TEST_F(MainWindowTest, EveryControlIsShownWholeInItsContainerWithItsCaptionInFull) {
    MainWindow& window = loadAndShow();
    const QList<QWidget*> controls = window.findChildren<QWidget*>(
        QRegularExpression(QStringLiteral("^(PushButton|Option|Frame|Text|ListView|ProgressBar)[0-9]$")));
    ASSERT_EQ(controls.size(), 26);
    for (QWidget* w : controls) {
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_TRUE(w->isVisible());
        EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry()));
        for (QWidget* other : controls) {
            if (other != w && other->parentWidget() == w->parentWidget()) {
                EXPECT_FALSE(w->geometry().intersects(other->geometry())) << other->objectName().toStdString();
            }
        }
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), test::captionRoom(button))
                << captionOf(w).toStdString();
        }
        if (auto* frame = qobject_cast<QGroupBox*>(w)) {
            EXPECT_LE(frame->fontMetrics().horizontalAdvance(frame->title()), w->width())
                << frame->title().toStdString();
        }
    }
    int top = -1;
    for (const char* name :
         {"PushButton8", "Frame4", "Frame2", "Frame3", "Frame6", "Frame5", "PushButton1", "ProgressBar1"}) {
        EXPECT_GT(control(name)->y(), top) << name;
        top = control(name)->geometry().bottom();
    }
}

TEST_F(MainWindowTest, WindowStartsAtItsDesignWithDesignFontsAndOptions) {
    MainWindow& window = makeWindow();
    const double dpi = window.logicalDpiX();
    // The designed form as designed; the menu bar above it adds its own height. No smaller.
    EXPECT_EQ(window.minimumSize(), window.size());
    EXPECT_EQ(window.form()->size(), QSize(twipsToPixels(8040, dpi), twipsToPixels(10965, dpi)));
    EXPECT_EQ(window.form()->y(), window.menuBar()->height());
    EXPECT_EQ(window.height(), window.menuBar()->height() + window.form()->height());
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);

    const QFont windowFont = window.font();
    EXPECT_EQ(windowFont.family(), QStringLiteral("Arial"));
    EXPECT_TRUE(windowFont.bold());
    EXPECT_DOUBLE_EQ(windowFont.pointSizeF(), 9.0);
    EXPECT_DOUBLE_EQ(control("Frame4")->font().pointSizeF(), 9.0);
    EXPECT_DOUBLE_EQ(control("ListView1")->font().pointSizeF(), 9.0);
    const QFont buttonFont = control("PushButton1")->font();
    EXPECT_TRUE(buttonFont.bold());
    EXPECT_DOUBLE_EQ(buttonFont.pointSizeF(), 11.25);

    // Three groups, each with one option on at design.
    for (const char* on : {"Option9", "Option1", "Option4"})
        EXPECT_TRUE(qobject_cast<QRadioButton*>(control(on))->isChecked()) << on;
    for (const char* off : {"Option8", "Option2", "Option3", "Option5", "Option6"})
        EXPECT_FALSE(qobject_cast<QRadioButton*>(control(off))->isChecked()) << off;

    QProgressBar* bar = window.progressBar1();
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 100);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(bar->text(), QStringLiteral("Progress Bar"));
}

TEST_F(MainWindowTest, OptionGroupsAreIndependent) {
    loadAndShow();
    QTest::mouseClick(control("Option2"), Qt::LeftButton);
    QTest::mouseClick(control("Option6"), Qt::LeftButton);
    EXPECT_TRUE(qobject_cast<QRadioButton*>(control("Option2"))->isChecked());
    EXPECT_FALSE(qobject_cast<QRadioButton*>(control("Option1"))->isChecked());
    EXPECT_TRUE(qobject_cast<QRadioButton*>(control("Option6"))->isChecked());
    EXPECT_FALSE(qobject_cast<QRadioButton*>(control("Option4"))->isChecked());
    EXPECT_TRUE(qobject_cast<QRadioButton*>(control("Option9"))->isChecked());

    // The gender options sit inside the source frame but are a group of their own.
    QTest::mouseClick(control("Option8"), Qt::LeftButton);
    EXPECT_TRUE(qobject_cast<QRadioButton*>(control("Option8"))->isChecked());
    EXPECT_FALSE(qobject_cast<QRadioButton*>(control("Option9"))->isChecked());
    EXPECT_TRUE(qobject_cast<QRadioButton*>(control("Option2"))->isChecked());
    QTest::mouseClick(control("Option9"), Qt::LeftButton);
    EXPECT_TRUE(qobject_cast<QRadioButton*>(control("Option2"))->isChecked());
    EXPECT_FALSE(qobject_cast<QRadioButton*>(control("Option8"))->isChecked());
}

TEST_F(MainWindowTest, LoadSetsCaptionIconTitleAndListColumns) {
    MainWindow& window = makeWindow();
    window.load();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.urlsOpened.isEmpty());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Quillory"));
    const QList<QSize> sizes = window.windowIcon().availableSizes();
    for (int s : {32, 48, 128, 256})
        EXPECT_TRUE(sizes.contains(QSize(s, s))) << s;

    const int width = twipsToPixels(6500, window.logicalDpiX());
    EXPECT_EQ(window.listView1()->items().headerText(), QStringLiteral("First Names"));
    EXPECT_EQ(window.listView2()->items().headerText(), QStringLiteral("Last Names"));
    EXPECT_EQ(window.listView1()->columnWidth(0), width);
    EXPECT_EQ(window.listView2()->columnWidth(0), width);
    const QString tip = QStringLiteral("Move | line to right and out of window to reveal full names.");
    EXPECT_EQ(window.listView1()->toolTip(), tip);
    EXPECT_EQ(window.listView2()->toolTip(), tip);
}

TEST_F(MainWindowTest, LoadSeedsTheSequenceFromTheClockAndSometimesOpensTheHomePage) {
    // The same start time gives the same sequence as seeding by hand.
    makeWindow().load();
    RandomSource expected;
    SeedRandom(expected, test::kQuietStart, dialogs);
    EXPECT_EQ(random.nextBits(), expected.nextBits());
    EXPECT_TRUE(dialogs.urlsOpened.isEmpty());

    // A start time whose first roll is 7 opens the page.
    QTime lucky(0, 0);
    RandomSource probe;
    test::ScriptedDialogs silent;
    while (SeedRandom(probe, lucky, silent) != appinfo::kHomePageRoll)
        lucky = lucky.addMSecs(250);
    makeWindow(lucky).load();
    ASSERT_EQ(dialogs.urlsOpened.size(), 1);
    EXPECT_EQ(dialogs.urlsOpened[0], QUrl(appinfo::kHomePage));
}

TEST_F(MainWindowTest, FailingStepsAreReportedAndLoadGoesOn) {
    // A home page opener that fails, and a hand pointer file that is no picture.
    struct FailingOpener : test::ScriptedDialogs {
        void openUrl(const QUrl&) override { throw AppError(QStringLiteral("No browser")); }
    } failing;
    workspace.writeFile(QStringLiteral("program/HAND-M.CUR"), "this is not a cursor");
    QTime lucky(0, 0);
    RandomSource probe;
    test::ScriptedDialogs silent;
    while (SeedRandom(probe, lucky, silent) != appinfo::kHomePageRoll)
        lucky = lucky.addMSecs(250);

    AppContext context{failing, workspace.paths(), settings, random, [&] { return lucky; }, [] {}};
    MainWindow window(context);
    window.load();

    const QString tag = QStringLiteral("in Tarvisk2021/08/31.Form1.Form_Load ");
    const QString email = QStringLiteral("\r\rPlease email screenshot of this message to ") + appinfo::kSupportEmail;
    ASSERT_EQ(failing.errorReports().size(), 2);
    EXPECT_EQ(failing.errorReports()[0],
              QStringLiteral("Invalid picture\r\n") + tag + QStringLiteral("at line 106") + email);
    EXPECT_EQ(failing.errorReports()[1],
              QStringLiteral("No browser\r\n") + tag + QStringLiteral("at line 108") + email);
    EXPECT_EQ(failing.messages[0].icon, MessageIcon::Warning);
    // The steps after the failures still ran.
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Quillory"));
    EXPECT_EQ(window.listView1()->items().headerText(), QStringLiteral("First Names"));
    EXPECT_FALSE(window.pointer().hasCustomCursor());
}

TEST_F(MainWindowTest, AHandPointerPathThatIsAFolderIsReportedAtItsStep) {
    workspace.writeFile(QStringLiteral("program/HAND-M.CUR/inside"), "x");
    makeWindow().load();
    ASSERT_EQ(dialogs.errorReports().size(), 1);
    EXPECT_TRUE(dialogs.errorReports()[0].contains(QStringLiteral("Form_Load at line 106\r\r")));
}

TEST_F(MainWindowTest, StartsWithTheFocusInTheCountAndItsTextSelected) {
    MainWindow& window = loadAndShow();
    QLineEdit* text1 = window.text1();
    EXPECT_EQ(QApplication::focusWidget(), text1);
    EXPECT_EQ(text1->selectedText(), text1->text());

    // Coming back with the Tab key or a click selects the whole text again.
    text1->setText(QStringLiteral("2500"));
    window.listView1()->setFocus();
    QTest::keyClick(window.listView1(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), text1);
    EXPECT_EQ(text1->selectedText(), QStringLiteral("2500"));

    window.listView1()->setFocus();
    QTest::mouseClick(text1, Qt::LeftButton, {}, QPoint(5, text1->height() / 2));
    EXPECT_EQ(text1->selectedText(), QStringLiteral("2500"));
}

TEST_F(MainWindowTest, TabVisitsTheControlsInDesignOrder) {
    MainWindow& window = loadAndShow();
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 13; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(visited, QStringList({"Text1", "ListView1", "PushButton2", "PushButton6", "PushButton4", "ListView2",
                                    "PushButton5", "PushButton7", "PushButton3", "PushButton1", "PushButton8",
                                    "Option9", "Option1", "Option4"}));

    // Only the selected option of a group is a stop, and Shift+Tab walks back the same way.
    QTest::mouseClick(control("Option6"), Qt::LeftButton);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("Text1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("Option6"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("Option1"));
    // A disabled option is no stop.
    control("Option1")->setEnabled(false);
    window.text1()->setFocus();
    QTest::keyClick(window.text1(), Qt::Key_Backtab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("Option9"));
}

TEST_F(MainWindowTest, PointerShowsTheHandOverButtonsAndTheArrowOverBackgrounds) {
    installHandCursor();
    MainWindow& window = loadAndShow();
    WindowPointer& pointer = window.pointer();
    ASSERT_TRUE(pointer.hasCustomCursor());

    moveOver("PushButton1");
    EXPECT_EQ(pointer.value(), 99);
    EXPECT_EQ(window.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(window.cursor().hotSpot(), QPoint(6, 0));

    // The gender and part-of-name options and the count box leave the setting as it was.
    for (const char* quiet : {"Option1", "Option5", "Text1"}) {
        moveOver(quiet);
        EXPECT_EQ(pointer.value(), 99) << quiet;
    }
    for (const char* background : {"Frame2", "ListView1", "Option9", "Frame1", "Option8"}) {
        moveOver("PushButton4");
        ASSERT_EQ(pointer.value(), 99);
        moveOver(background);
        EXPECT_EQ(pointer.value(), 0) << background;
        EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor) << background;
    }
    moveOver("PushButton8");
    QTest::mouseMove(&window, QPoint(window.width() - 2, window.height() - 2));
    QCoreApplication::processEvents();
    EXPECT_EQ(pointer.value(), 0);
}

TEST_F(MainWindowTest, WithoutTheHandFileButtonsShowTheArrow) {
    MainWindow& window = loadAndShow();
    moveOver("PushButton2");
    EXPECT_EQ(window.pointer().value(), 99);
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(MainWindowTest, TheHourglassIsLeftAloneByPointerFeedback) {
    installHandCursor();
    MainWindow& window = loadAndShow();
    window.pointer().set(WindowPointer::kHourglass);
    for (const char* name : {"PushButton1", "Frame4", "ListView2", "Option9", "PushButton7"}) {
        moveOver(name);
        EXPECT_EQ(window.pointer().value(), 11) << name;
        EXPECT_EQ(window.cursor().shape(), Qt::WaitCursor) << name;
    }
}

TEST_F(MainWindowTest, TheSkinFileGivesTheButtonFaceColourAndItsAbsencePlainWhite) {
    MainWindow& plain = makeWindow();
    plain.load();
    EXPECT_EQ(plain.palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(control("Option9")->palette().color(control("Option9")->backgroundRole()), QColor(Qt::white));

    workspace.writeFile(QStringLiteral("program/x/o.cjs"), "skin");
    MainWindow& skinned = makeWindow();
    skinned.load();
    const QColor face = QApplication::palette().color(QPalette::Active, QPalette::Button);
    ASSERT_NE(face, QColor(Qt::white));
    EXPECT_EQ(skinned.palette().color(QPalette::Window), face);
    for (const char* name : {"Frame4", "Frame1", "Option1", "Option8"}) {
        QWidget* w = control(name);
        EXPECT_EQ(w->palette().color(w->backgroundRole()), face) << name;
    }
    // Push buttons, lists and the count box keep their own colours.
    EXPECT_EQ(control("Text1")->palette().color(control("Text1")->backgroundRole()), QColor(Qt::white));
}

TEST_F(MainWindowTest, ClosingTheWindowEndsTheProgram) {
    MainWindow& window = loadAndShow();
    EXPECT_TRUE(window.close());
    EXPECT_EQ(endProgramCalls, 1);
    EXPECT_FALSE(window.isVisible());
}
