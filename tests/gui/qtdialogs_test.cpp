#include "core/errorreport.h"
#include "ui/qtdialogs.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

using namespace quillory;

TEST(QtDialogs, ShowsEachComposedLineBreakAsOneLine) {
    const QString report = errorReportText(QStringLiteral("Disk full"), QStringLiteral("in T.F.P "), 122);
    EXPECT_EQ(QtDialogs::toDisplayText(report).split(u'\n'),
              QStringList({"Disk full", "in T.F.P at line 122", "",
                           "Please email screenshot of this message to support@obrenna.fr"}));
    EXPECT_EQ(QtDialogs::toDisplayText(QStringLiteral("Done.\r\r/tmp/results.txt\r\n\r\nwas created.")),
              QStringLiteral("Done.\n\n/tmp/results.txt\n\nwas created."));
}

TEST(QtDialogs, AllFilesMeansEveryFileNotOnlyNamesWithADot) {
    EXPECT_EQ(QtDialogs::toPlatformFilter(QStringLiteral("All Files (*.*)")), QStringLiteral("All Files (*)"));
    EXPECT_EQ(QtDialogs::toPlatformFilter(QStringLiteral("Text Files (*.txt)")), QStringLiteral("Text Files (*.txt)"));
}

// The question shows a seed of twenty digits whole, and its title beside the window's buttons: the
// dialog is measured while it is up, then cancelled.
TEST(QtDialogs, TheValueQuestionShowsTheLargestSeedAndItsTitleWhole) {
    const QString title = QStringLiteral("Same Names Each Time");
    const QString seed = QStringLiteral("18446744073709551615");
    int boxRoom = 0;
    int seedWidth = 0;
    int dialogWidth = 0;
    int titleWidth = 0;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        auto* box = dialog->findChild<QLineEdit*>();
        ASSERT_NE(box, nullptr);
        box->setText(seed);
        boxRoom = box->contentsRect().width() - box->textMargins().left() - box->textMargins().right();
        seedWidth = QFontMetrics(box->font()).horizontalAdvance(seed);
        dialogWidth = dialog->width();
        titleWidth = QFontMetrics(dialog->font()).horizontalAdvance(title);
        qobject_cast<QDialog*>(dialog)->reject();
    });
    QtDialogs dialogs;
    EXPECT_EQ(dialogs.askValue({title, QStringLiteral("A new seed for every run"), QStringLiteral("Seed"),
                                QStringLiteral("2026"), QStringLiteral("8312046570012345"),
                                [](const QString&) { return QString(); }}),
              std::nullopt);
    EXPECT_GT(boxRoom, seedWidth) << "the seed is cut";
    EXPECT_GE(dialogWidth, titleWidth + 120) << "the title is cut";
}
