// Both windows made larger than designed: the lists take the room, what spans a frame widens, the
// rest keeps its place, the design's rules still hold; never smaller than the design; and the size a
// user gave a window comes back at the next start.
#include "mainwindowfixture.h"

#include "core/twips.h"
#include "ui/designedwindow.h"
#include "ui/formbuilder.h"
#include "ui/listcontrol.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSettings>

namespace quillory::test {
namespace {

class WindowSizeTest : public MainWindowFixture {
protected:
    // Every control of a window inside its container, none covering a sibling.
    static void expectTheDesignRulesHold(const DesignedWindow& window) {
        const QList<QWidget*> controls = window.findChildren<QWidget*>(
            QRegularExpression(QStringLiteral("^(PushButton|Option|Frame|Text|ListView|ProgressBar)[0-9]$")));
        ASSERT_FALSE(controls.isEmpty());
        for (QWidget* w : controls) {
            SCOPED_TRACE(w->objectName().toStdString());
            EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry()));
            for (QWidget* other : controls) {
                if (other != w && other->parentWidget() == w->parentWidget()) {
                    EXPECT_FALSE(w->geometry().intersects(other->geometry())) << other->objectName().toStdString();
                }
            }
        }
    }

    // The controls Tab visits from the count box, in order.
    QStringList tabStops(MainWindow& window, int count) {
        window.text1()->setFocus();
        QStringList stops;
        for (int i = 0; i < count; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            stops << QApplication::focusWidget()->objectName();
        }
        return stops;
    }

    static QRect designRect(const DesignedWindow& window, int left, int top, int width, int height) {
        return twipsToRect(left, top, width, height, designDpi(&window));
    }
};

} // namespace

// At one and a half times its size, the main window gives half its extra height to each list and its
// extra width to every control that spans its frame; the others stay; the rules and Tab still hold.
TEST_F(WindowSizeTest, TheMainWindowsListsShareTheExtraHeightAndWhatSpansWidens) {
    MainWindow& window = loadAndShow();
    const QStringList designedStops = tabStops(window, 12);
    const int designedColumn = window.listView1()->columnWidth(0);
    const QSize form = window.form()->size();

    window.resize(window.size() * 3 / 2);
    QCoreApplication::processEvents();
    const QSize extra = window.form()->size() - form;
    ASSERT_GT(extra.height(), 200);
    ASSERT_GT(extra.width(), 200);
    const QRect list = designRect(window, 240, 300, 7320, 1320);
    for (ListControl* shown : {window.listView1(), window.listView2()}) {
        SCOPED_TRACE(shown->objectName().toStdString());
        EXPECT_NEAR(shown->height(), list.height() + extra.height() / 2.0, 1.0);
        EXPECT_NEAR(shown->width(), list.width() + extra.width(), 1.0);
    }
    EXPECT_NEAR(window.listView1()->columnWidth(0), designedColumn + extra.width(), 1.0) << "the column widens too";
    // Below the first list, the last-name frame moves down by the first list's share; the button at the
    // bottom by both; the half-width buttons keep their width beside each other.
    EXPECT_NEAR(control("Frame5")->y(), designRect(window, 120, 7020, 7800, 2805).y() + extra.height() / 2.0, 1.0);
    EXPECT_NEAR(control("PushButton1")->y(), designRect(window, 120, 9945, 7800, 405).y() + extra.height(), 1.0);
    const int marginBelow = form.height() - designRect(window, 120, 10455, 7800, 405).bottom();
    EXPECT_EQ(window.form()->height() - control("ProgressBar1")->geometry().bottom(), marginBelow);
    const QRect load = designRect(window, 3940, 1710, 3600, 405);
    EXPECT_EQ(control("PushButton6")->x(), load.x()) << "beside Add First Name";
    EXPECT_NEAR(control("PushButton6")->y(), load.y() + extra.height() / 2.0, 1.0);
    EXPECT_EQ(control("PushButton6")->size(), load.size());
    EXPECT_EQ(control("Option3")->geometry(), designRect(window, 2610, 300, 1455, 255));
    EXPECT_NEAR(control("Text1")->width(), designRect(window, 240, 300, 7305, 375).width() + extra.width(), 1.0);
    expectTheDesignRulesHold(window);
    EXPECT_EQ(tabStops(window, 12), designedStops);

    // Back to the design, everything stands where it was designed.
    window.resize(window.minimumSize());
    QCoreApplication::processEvents();
    EXPECT_EQ(window.listView1()->geometry(), list);
    EXPECT_EQ(window.listView1()->columnWidth(0), designedColumn);
}

// The results window gives its extra height to the list; "..." stays at the right end of the box.
TEST_F(WindowSizeTest, TheResultsWindowsListTakesTheExtraHeightAndTheFolderButtonStaysAtTheRight) {
    MainWindow& window = loadAndShow();
    window.text1()->setText(QStringLiteral("3"));
    QTest::mouseClick(control("PushButton1"), Qt::LeftButton);
    ResultsWindow& results = this->results();
    const QSize form = results.form()->size();
    QWidget* folder = results.control(QStringLiteral("Text2"));
    QWidget* browse = results.control(QStringLiteral("PushButton1"));
    const int gap = browse->x() - folder->geometry().right();
    const int margin = folder->parentWidget()->width() - browse->geometry().right();

    results.resize(results.size() * 3 / 2);
    QCoreApplication::processEvents();
    const QSize extra = results.form()->size() - form;
    const QRect list = designRect(results, 120, 1440, 7800, 4680);
    EXPECT_EQ(results.listView1()->size(), list.size() + extra);
    EXPECT_EQ(browse->x() - folder->geometry().right(), gap);
    EXPECT_EQ(folder->parentWidget()->width() - browse->geometry().right(), margin);
    EXPECT_EQ(browse->size(), designRect(results, 7170, 330, 450, 375).size());
    EXPECT_EQ(results.statusLine()->geometry().bottom(), results.height() - 1);
    EXPECT_EQ(results.statusLine()->width(), results.width());
    expectTheDesignRulesHold(results);
}

// Never smaller than the design; the size and the maximised state come back through the settings file.
TEST_F(WindowSizeTest, NoWindowIsSmallerThanItsDesignAndEachComesBackAtItsSize) {
    MainWindow& window = loadAndShow();
    const QSize designed = window.designedSize();
    window.resize(designed - QSize(100, 100));
    EXPECT_EQ(window.size(), designed);

    // As large as the screen leaves room for, which the offscreen screen keeps small in height.
    const int room = QGuiApplication::primaryScreen()->availableGeometry().height() - 38 - designed.height();
    const QSize larger = designed + QSize(120, std::clamp(room, 0, 90));
    window.resize(larger);
    window.hide();
    {
        QSettings file(workspace.settingsFile(), QSettings::IniFormat);
        EXPECT_EQ(file.value(QStringLiteral("Quillory/Form1Size")).toString(),
                  QStringLiteral("%1x%2").arg(larger.width()).arg(larger.height()));
        EXPECT_EQ(file.value(QStringLiteral("Quillory/Form1Maximized")).toString(), QStringLiteral("False"));
    }
    EXPECT_EQ(loadAndShow().size(), larger);

    // A size beyond the screen is brought within it; one below the design is the design.
    {
        QSettings file(workspace.settingsFile(), QSettings::IniFormat);
        file.setValue(QStringLiteral("Quillory/Form1Size"), QStringLiteral("100000x100000"));
        file.setValue(QStringLiteral("Quillory/Form1Maximized"), QStringLiteral("True"));
    }
    MainWindow& again = loadAndShow();
    EXPECT_TRUE(again.isMaximized() || again.windowState() & Qt::WindowMaximized);
    EXPECT_LE(again.normalGeometry().width(), QGuiApplication::primaryScreen()->availableGeometry().width());
    {
        QSettings file(workspace.settingsFile(), QSettings::IniFormat);
        file.setValue(QStringLiteral("Quillory/Form1Size"), QStringLiteral("10x10"));
        file.setValue(QStringLiteral("Quillory/Form1Maximized"), QStringLiteral("False"));
    }
    EXPECT_EQ(loadAndShow().size(), designed);
}

} // namespace quillory::test

namespace quillory::test {

// Whatever sizes a window goes through, restored from the settings included, each list's column is
// as wide as designed at the designed size and reaches as far as it did then at any other: it takes
// all the list's width beyond its design. A width the user drags stays until the next resize.
TEST_F(WindowSizeTest, TheColumnsFillTheirListsAtEverySize) {
    {
        QSettings file(workspace.settingsFile(), QSettings::IniFormat);
        file.setValue(QStringLiteral("Quillory/Form1Size"), QStringLiteral("1000x900"));
    }
    MainWindow& window = loadAndShow();
    window.text1()->setText(QStringLiteral("3"));
    QTest::mouseClick(control("PushButton1"), Qt::LeftButton);
    results().resize(results().designedSize() + QSize(300, 0));
    window.showNormal();

    for (ListControl* list : {window.listView1(), window.listView2(), results().listView1()}) {
        SCOPED_TRACE(list->objectName().toStdString() + " of " + list->window()->objectName().toStdString());
        QWidget* shown = list->window();
        auto* designedWindow = qobject_cast<DesignedWindow*>(shown);
        ASSERT_NE(designedWindow, nullptr);
        const int designedList = list->property(kDesignedWidthProperty).toInt();
        ASSERT_GT(designedList, 0);
        // As restored, or first enlarged, before any resize by the test.
        const int restoredList = list->width();
        const int restoredColumn = list->columnWidth(0);
        ASSERT_GT(restoredList, designedList);
        shown->resize(designedWindow->designedSize());
        QCoreApplication::processEvents();
        const int designedColumn = list->columnWidth(0);
        ASSERT_EQ(list->width(), designedList);
        EXPECT_EQ(restoredColumn, designedColumn + restoredList - designedList) << "at the size it came back at";
        for (const int wider : {300, 0, 120, 40, 0, 500, 10}) {
            shown->resize(designedWindow->designedSize() + QSize(wider, 0));
            QCoreApplication::processEvents();
            EXPECT_EQ(list->columnWidth(0), designedColumn + list->width() - designedList) << wider << " wider";
        }
        list->setColumnWidth(0, 77);
        QCoreApplication::processEvents();
        EXPECT_EQ(list->columnWidth(0), 77) << "a dragged width stays";
        shown->resize(designedWindow->designedSize() + QSize(60, 0));
        QCoreApplication::processEvents();
        EXPECT_EQ(list->columnWidth(0), designedColumn + list->width() - designedList);
    }
}

} // namespace quillory::test
