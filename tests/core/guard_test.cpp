#include "core/apperror.h"
#include "core/errorreport.h"
#include "core/guard.h"
#include "scripteddialogs.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace quillory;

namespace {

const QString kEmailLine = QStringLiteral("Please email screenshot of this message to support@obrenna.fr");

void failDeepInside() {
    throw AppError(QStringLiteral("Disk full"));
}

} // namespace

TEST(ErrorReport, LocationTagEndsWithASpace) {
    EXPECT_EQ(ErrorLocationTag(QStringLiteral("Form1"), QStringLiteral("Form_Load")),
              QStringLiteral("in Tarvisk2021/08/31.Form1.Form_Load "));
    EXPECT_EQ(ErrorLocationTag(QStringLiteral("Main"), QStringLiteral("FileToListview")),
              QStringLiteral("in Tarvisk2021/08/31.Main.FileToListview "));
}

TEST(ErrorReport, ComposesTheMessageExactly) {
    const QString tag = ErrorLocationTag(QStringLiteral("Form1"), QStringLiteral("Form_Load"));
    EXPECT_EQ(errorReportText(QStringLiteral("File not found"), tag, 136),
              QStringLiteral("File not found\r\nin Tarvisk2021/08/31.Form1.Form_Load at line 136\r\r") + kEmailLine);
    // An empty description leaves the first line empty.
    EXPECT_TRUE(errorReportText(QString(), tag, 100).startsWith(QStringLiteral("\r\nin Tarvisk")));
}

TEST(ErrorReport, IsAWarningBoxTitledApplicationError) {
    test::ScriptedDialogs dialogs;
    ErrorReport(dialogs, QStringLiteral("in X.Y.Z "), 102, QStringLiteral("Oops"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Application Error"));
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(dialogs.messages[0].text, errorReportText(QStringLiteral("Oops"), QStringLiteral("in X.Y.Z "), 102));
}

TEST(Guard, ReportsEachFailingStepAndGoesOnWithTheNext) {
    test::ScriptedDialogs dialogs;
    Guard g(dialogs, ErrorLocationTag(QStringLiteral("Form1"), QStringLiteral("PushButton2_Click")));
    QStringList ran;
    EXPECT_TRUE(g.step(100, [&] { ran << "100"; }));
    EXPECT_FALSE(g.step(102, [&] { throw AppError(QStringLiteral("first")); }));
    EXPECT_TRUE(g.step(104, [&] { ran << "104"; }));
    EXPECT_FALSE(g.step(106, [&] { throw AppError(QStringLiteral("second")); }));
    EXPECT_TRUE(g.step(108, [&] { ran << "108"; }));

    EXPECT_EQ(ran, QStringList({"100", "104", "108"}));
    EXPECT_EQ(g.failures(), 2);
    const QStringList reports = dialogs.errorReports();
    ASSERT_EQ(reports.size(), 2);
    EXPECT_TRUE(
        reports[0].startsWith(QStringLiteral("first\r\nin Tarvisk2021/08/31.Form1.PushButton2_Click at line 102\r\r")));
    EXPECT_TRUE(reports[1].startsWith(
        QStringLiteral("second\r\nin Tarvisk2021/08/31.Form1.PushButton2_Click at line 106\r\r")));
}

TEST(Guard, AFailingConditionCountsAsPassed) {
    test::ScriptedDialogs dialogs;
    Guard g(dialogs, QStringLiteral("in T.F.P "));
    bool guardedStepRan = false;
    if (g.test(104, []() -> bool { throw AppError(QStringLiteral("cannot tell")); }))
        guardedStepRan = g.step(106, [] {});
    EXPECT_TRUE(guardedStepRan);
    EXPECT_FALSE(g.test(108, [] { return false; }));
    ASSERT_EQ(dialogs.errorReports().size(), 1);
    EXPECT_TRUE(dialogs.errorReports()[0].contains(QStringLiteral("at line 104\r\r")));
}

TEST(Guard, AFailureInsideCalledCodeCarriesTheCallersTagAndStep) {
    test::ScriptedDialogs dialogs;
    Guard g(dialogs, ErrorLocationTag(QStringLiteral("Form1"), QStringLiteral("Form_Load")));
    g.step(136, [] { failDeepInside(); });
    ASSERT_EQ(dialogs.errorReports().size(), 1);
    EXPECT_EQ(dialogs.errorReports()[0],
              QStringLiteral("Disk full\r\nin Tarvisk2021/08/31.Form1.Form_Load at line 136\r\r") + kEmailLine);
}

TEST(Guard, DescribesEveryKindOfFailure) {
    test::ScriptedDialogs dialogs;
    Guard g(dialogs, QStringLiteral("in T.F.P "));
    g.step(100, [] { throw std::runtime_error("runtime says no"); });
    g.step(102, [] { throw std::bad_alloc(); });
    g.step(104, [] { throw 42; });
    g.step(106, [] { throw AppError(QString()); });
    const QStringList reports = dialogs.errorReports();
    ASSERT_EQ(reports.size(), 4);
    EXPECT_TRUE(reports[0].startsWith(QStringLiteral("runtime says no\r\n")));
    EXPECT_TRUE(reports[1].startsWith(QStringLiteral("Out of memory\r\n")));
    EXPECT_TRUE(reports[2].startsWith(QStringLiteral("Unknown error\r\n")));
    EXPECT_TRUE(reports[3].startsWith(QStringLiteral("\r\nin T.F.P at line 106")));
}

TEST(Guard, ASingleLineProcedureAlwaysReportsLine100) {
    test::ScriptedDialogs dialogs;
    Guard g(dialogs, ErrorLocationTag(QStringLiteral("Form1"), QStringLiteral("PushButton8_Click")));
    g.step(100, [] { throw AppError(QStringLiteral("x")); });
    ASSERT_EQ(dialogs.errorReports().size(), 1);
    EXPECT_TRUE(dialogs.errorReports()[0].contains(QStringLiteral("PushButton8_Click at line 100\r\r")));
}
