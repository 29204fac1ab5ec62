#include "core/namelistmodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace quillory;

TEST(NameListModel, KeepsItemsInTheOrderGivenThroughEveryChange) {
    NameListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);

    model.setHeaderText(QStringLiteral("First Names"));
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("First Names"));

    model.append(QStringLiteral("Zoé"));
    model.append(QStringLiteral("Anne"));
    model.append(QStringLiteral("Zoé"));
    ASSERT_EQ(model.count(), 3);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), QStringLiteral("Zoé"));
    EXPECT_EQ(model.at(1), QStringLiteral("Anne"));

    model.removeAt(1);
    ASSERT_EQ(model.count(), 2);
    EXPECT_EQ(model.at(1), QStringLiteral("Zoé"));

    model.setItems({QStringLiteral("B"), QStringLiteral("A")});
    EXPECT_EQ(model.at(0), QStringLiteral("B"));

    model.clear();
    EXPECT_EQ(model.count(), 0);
    EXPECT_EQ(model.rowCount(model.index(0, 0)), 0);
}

TEST(NameListModel, ABulkFillIsOneResetNotARowAtATime) {
    NameListModel model;
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(&model, &QAbstractItemModel::rowsInserted);
    QStringList items;
    for (int i = 0; i < 1'000'000; ++i)
        items.append(QStringLiteral("Name"));
    model.setItems(std::move(items));
    EXPECT_EQ(model.count(), 1'000'000);
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(inserts.count(), 0);
}

TEST(NameListModel, AHandedOverRunIsShownAsIsAndBecomesAListWhenEdited) {
    NameListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setItems(std::make_shared<StringListItems>(QStringList{"Anne", "Bruno", "Chloé"}));
    ASSERT_EQ(model.count(), 3);
    EXPECT_EQ(model.data(model.index(2, 0)).toString(), QStringLiteral("Chloé"));

    const auto before = model.contents();
    model.removeAt(0);
    model.append(QStringLiteral("Denis"));
    EXPECT_EQ(model.texts(), QStringList({"Bruno", "Chloé", "Denis"}));
    // What was taken before the edits stays as it was.
    ASSERT_EQ(before->size(), 3);
    EXPECT_EQ(before->text(0), QStringLiteral("Anne"));

    model.setItems(std::make_shared<StringListItems>(QStringList{"Eva"}));
    model.clear();
    EXPECT_EQ(model.count(), 0);
    EXPECT_EQ(model.contents()->size(), 0);
}
