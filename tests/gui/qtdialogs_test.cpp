#include "core/errorreport.h"
#include "ui/qtdialogs.h"

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
