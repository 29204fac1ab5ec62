#include "core/twips.h"
#include "ui/listcontrol.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

using namespace quillory;

namespace {

class ListControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        list.resize(300, 200);
        list.addColumnHeader(QStringLiteral("Names"));
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    }

    void fill(const QStringList& items) {
        for (const QString& item : items)
            list.addItem(item);
    }

    QPoint centreOfRow(int index) { return list.visualRect(list.items().index(index - 1, 0)).center(); }

    ListControl list;
};

} // namespace

TEST_F(ListControlTest, CountsAndReadsItemsFromOne) {
    EXPECT_EQ(list.count(), 0);
    list.addItem(QStringLiteral("Anne"));
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(list.item(1), QStringLiteral("Anne"));

    fill({QStringLiteral("Bruno"), QStringLiteral("  Chloé ")});
    list.removeItem(2);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.item(2), QStringLiteral("  Chloé ")); // exactly as added

    list.clearItems();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.selectedIndex(), 0);
    EXPECT_EQ(list.selectedText(), QString());
}

TEST_F(ListControlTest, AlwaysHasASelectedItemWhenNotEmpty) {
    fill({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")});
    EXPECT_EQ(list.selectedIndex(), 1);

    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centreOfRow(3));
    EXPECT_EQ(list.selectedText(), QStringLiteral("C"));

    // Ctrl+click on the selected item would clear the selection in a plain view.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, centreOfRow(3));
    EXPECT_EQ(list.selectedText(), QStringLiteral("C"));

    list.removeItem(3); // the item now at that place is selected
    EXPECT_EQ(list.selectedText(), QStringLiteral("D"));
    list.removeItem(3); // the last item went: the new last one is selected
    EXPECT_EQ(list.selectedText(), QStringLiteral("B"));

    list.setItems({QStringLiteral("X"), QStringLiteral("Y")});
    EXPECT_EQ(list.selectedText(), QStringLiteral("X"));
    list.clearItems();
    list.addItem(QStringLiteral("Z"));
    EXPECT_EQ(list.selectedText(), QStringLiteral("Z"));
}

TEST_F(ListControlTest, KeysMoveThroughTheItemsAsInAList) {
    fill({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")});
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_End);
    EXPECT_EQ(list.selectedText(), QStringLiteral("D"));
    QTest::keyClick(&list, Qt::Key_Up);
    EXPECT_EQ(list.selectedText(), QStringLiteral("C"));
    QTest::keyClick(&list, Qt::Key_Home);
    EXPECT_EQ(list.selectedText(), QStringLiteral("A"));
    QTest::keyClicks(&list, QStringLiteral("c"));
    EXPECT_EQ(list.selectedText(), QStringLiteral("C"));
}

TEST_F(ListControlTest, RaisesDoubleClickKeyDownAndPointerMove) {
    fill({QStringLiteral("A"), QStringLiteral("B")});
    QSignalSpy doubleClicks(&list, &ListControl::listDoubleClicked);
    QSignalSpy keys(&list, &ListControl::keyDown);
    QSignalSpy moves(&list, &ListControl::pointerMoved);

    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, centreOfRow(2));
    EXPECT_EQ(doubleClicks.count(), 1);

    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Delete, Qt::ShiftModifier);
    QTest::keyClick(&list, Qt::Key_A);
    // Every key counts, the Shift key itself included.
    ASSERT_EQ(keys.count(), 3);
    EXPECT_EQ(keys[0][0].toInt(), int(Qt::Key_Shift));
    EXPECT_EQ(keys[1][0].toInt(), int(Qt::Key_Delete));
    EXPECT_EQ(keys[1][1].value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
    EXPECT_EQ(keys[2][0].toInt(), int(Qt::Key_A));

    QTest::mouseMove(list.viewport(), QPoint(20, 20));
    QTest::mouseMove(list.viewport(), QPoint(40, 60));
    EXPECT_GE(moves.count(), 1);
}

TEST_F(ListControlTest, HasOneColumnTheUserCanWiden) {
    list.setColumnWidthTwips(6500);
    EXPECT_EQ(list.items().headerData(0, Qt::Horizontal).toString(), QStringLiteral("Names"));
    EXPECT_EQ(list.header()->count(), 1);
    EXPECT_EQ(list.columnWidth(0), twipsToPixels(6500, list.logicalDpiX()));
    EXPECT_EQ(list.header()->sectionResizeMode(0), QHeaderView::Interactive);
    EXPECT_FALSE(list.header()->stretchLastSection());
}

TEST_F(ListControlTest, ShowsItsToolTipAnywhereOverTheList) {
    list.setToolTip(QStringLiteral("Move | line to right"));
    const QPoint empty(10, list.viewport()->height() - 5);
    QHelpEvent help(QEvent::ToolTip, empty, list.viewport()->mapToGlobal(empty));
    QCoreApplication::sendEvent(list.viewport(), &help);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Move | line to right"));
    QToolTip::hideText();
}

TEST_F(ListControlTest, TakesAMillionItemsAndScrollsToTheLast) {
    QStringList items;
    items.reserve(1'000'000);
    for (int i = 1; i <= 1'000'000; ++i)
        items.append(QString::number(i));
    list.setItems(std::move(items));
    EXPECT_EQ(list.verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    ASSERT_EQ(list.count(), 1'000'000);
    EXPECT_EQ(list.item(1'000'000), QStringLiteral("1000000"));
    list.scrollToBottom();
    QCoreApplication::processEvents();
    const QRect last = list.visualRect(list.items().index(999'999, 0));
    EXPECT_TRUE(list.viewport()->rect().contains(last)) << last.y();
}
