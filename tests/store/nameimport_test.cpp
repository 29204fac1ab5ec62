#include "core/procedures.h"
#include "filesizelimit.h"
#include "scripteddialogs.h"
#include "store/namedatabase.h"
#include "store/nameimport.h"
#include "tempworkspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace quillory;

namespace {

class NameImportTest : public ::testing::Test {
protected:
    NameImportTest() { workspace.createNameDatabase(); }

    void import(const QString& path, NameKind kind) {
        FileToListview(path, kind, {dialogs, workspace.nameDatabase(), [this] { return source(); }});
    }

    QString file(const char* name, const QByteArray& bytes) {
        return workspace.writeFile(QString::fromUtf8(name), bytes);
    }

    // Makes names.mdb refuse one name, rolling back only that insert or the whole transaction.
    void refuse(const char* name, const char* how) {
        NameDatabase database(workspace.nameDatabase());
        database.open();
        const QByteArray trigger =
            QByteArray("create trigger refuse before insert on user_firstname when new.firstname = '") + name +
            "' begin select raise(" + how + ", 'refused by the test'); end";
        database.execute(trigger.constData());
    }

    test::TempWorkspace workspace;
    test::ScriptedDialogs dialogs;
    std::function<NameSource()> source = [] { return NameSource::UserList; };
};

QByteArray manyNames(int count, const char* prefix) {
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += prefix + QByteArray::number(i) + "\r\n";
    return bytes;
}

} // namespace

TEST_F(NameImportTest, StoresEveryNameInTheTableOfTheSourceAndKind) {
    const QString path = file("names.txt", "Anne\nle floc'h\n  spaced  \n");
    import(path, NameKind::First);
    EXPECT_EQ(workspace.storedNames("user_firstname"), QStringList({"Anne", "le floch", "  spaced  "}));
    source = [] { return NameSource::HalvardsList; };
    import(path, NameKind::First);
    import(path, NameKind::Last);
    // First names for Halvard's List join the female ones.
    EXPECT_EQ(workspace.storedNames("system_ffirstname"), QStringList({"Anne", "le floch", "  spaced  "}));
    EXPECT_EQ(workspace.storedNames("system_mfirstname"), QStringList());
    EXPECT_EQ(workspace.storedNames("system_lastname"), QStringList({"Anne", "le floch", "  spaced  "}));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(NameImportTest, TheSourceIsAskedForEveryName) {
    int asked = 0;
    source = [&] { return ++asked == 2 ? NameSource::None : NameSource::UserList; };
    import(file("names.txt", "Anne\nBruno\nChloé"), NameKind::First);
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(workspace.storedNames("user_firstname"), QStringList({"Anne", "Chloé"}));
}

TEST_F(NameImportTest, AMissingFileGetsOnlyFileNotFound) {
    import(workspace.path(QStringLiteral("missing.txt")), NameKind::First);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("File not found"));
    EXPECT_EQ(dialogs.messages[0].title, applicationTitle());
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::None);
}

TEST_F(NameImportTest, AFileThatCannotBeReadIsReportedOnceAndEnds) {
    QDir().mkpath(workspace.path(QStringLiteral("folder.txt")));
    import(workspace.path(QStringLiteral("folder.txt")), NameKind::First);
    // The kernel refuses to read this file of the running process from its start, whoever runs it.
    import(QStringLiteral("/proc/self/mem"), NameKind::First);
    // A device that never ends is no list of names.
    import(QStringLiteral("/dev/zero"), NameKind::First);
    const QStringList reports = dialogs.errorReports();
    ASSERT_EQ(reports.size(), 3);
    for (const QString& report : reports)
        EXPECT_TRUE(report.contains(QStringLiteral("\r\nin Tarvisk2021/08/31.Main.FileToListview at line 108\r\r")))
            << report.toStdString();
    EXPECT_EQ(workspace.storedNames("user_firstname"), QStringList());
}

TEST_F(NameImportTest, WithoutTheDatabaseEachFailingStepIsReported) {
    QFile::remove(workspace.nameDatabase());
    import(file("names.txt", "Anne\nBruno\n"), NameKind::Last);
    const QStringList reports = dialogs.errorReports();
    ASSERT_EQ(reports.size(), 3);
    EXPECT_TRUE(reports[0].contains(QStringLiteral("FileToListview at line 106")));
    EXPECT_TRUE(reports[1].contains(QStringLiteral("FileToListview at line 138")));
    EXPECT_TRUE(reports[2].contains(QStringLiteral("FileToListview at line 138")));
    EXPECT_FALSE(QFile::exists(workspace.nameDatabase()));
}

TEST_F(NameImportTest, ARefusedNameIsReportedAndTheOthersAreStored) {
    refuse("Bad", "abort");
    import(file("names.txt", manyNames(1500, "A") + "Bad\n" + manyNames(1500, "B")), NameKind::First);
    ASSERT_EQ(dialogs.errorReports().size(), 1);
    EXPECT_TRUE(dialogs.errorReports()[0].startsWith(
        QStringLiteral("refused by the test\r\nin Tarvisk2021/08/31.Main.FileToListview at line 134")));
    const QStringList stored = workspace.storedNames("user_firstname");
    ASSERT_EQ(stored.size(), 3000);
    EXPECT_EQ(stored[1499], QStringLiteral("A1499"));
    EXPECT_EQ(stored[1500], QStringLiteral("B0"));
}

TEST_F(NameImportTest, AFailureThatLosesTheTransactionStillKeepsTheNamesBeforeIt) {
    refuse("Bad", "rollback");
    import(file("names.txt", manyNames(1500, "A") + "Bad\n" + manyNames(10, "B")), NameKind::First);
    EXPECT_EQ(dialogs.errorReports().size(), 1);
    const QStringList stored = workspace.storedNames("user_firstname");
    EXPECT_EQ(stored.size(), 1510);
    EXPECT_TRUE(stored.contains(QStringLiteral("A1499")));
    EXPECT_FALSE(stored.contains(QStringLiteral("Bad")));
}

// The disk fills in the middle of an import (names.mdb and its log may not grow past a limit, whoever
// runs the test): the transaction whose commit fails is retried a name at a time, the names that fail
// again are each reported, and every name stored before stays stored, in the file's order.
TEST_F(NameImportTest, ADiskThatFillsPartWayKeepsTheNamesBeforeAndReportsEveryNameLost) {
    constexpr int kNames = 6000;
    QByteArray bytes;
    for (int i = 0; i < kNames; ++i)
        bytes += QByteArray("Name with room to fill the disk ") + QByteArray::number(i).rightJustified(5, '0') + '\n';
    const QString path = file("names.txt", bytes);
    {
        const test::FileSizeLimit limit(QFileInfo(workspace.nameDatabase()).size() + 96 * 1024);
        import(path, NameKind::First);
    }
    const QStringList stored = workspace.storedNames("user_firstname");
    ASSERT_GT(stored.size(), 0);
    ASSERT_LT(stored.size(), kNames);
    const QStringList inFile = QString::fromUtf8(bytes).split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(stored, inFile.mid(0, stored.size()));

    // Every name not stored was reported, those of the lost transaction included; each report names the
    // engine's failure and the step that stores a user's first name (or the last commit).
    const QStringList reports = dialogs.errorReports();
    EXPECT_GE(reports.size(), kNames - stored.size());
    const QRegularExpression report(
        QStringLiteral("^(disk I/O error|database or disk is full)\r\n"
                       "in Tarvisk2021/08/31\\.Main\\.FileToListview at line (134|194)\r\r"));
    int atTheEnd = 0;
    for (const QString& text : reports) {
        ASSERT_TRUE(report.match(text).hasMatch()) << text.toStdString();
        atTheEnd += report.match(text).captured(2) == u"194";
    }
    EXPECT_LE(atTheEnd, 1) << "lost names are reported when they are lost, not at the end";
}
