#include "core/apperror.h"
#include "store/namedatabase.h"
#include "store/namestatements.h"
#include "tempworkspace.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace quillory;

namespace {

class NameDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override { workspace.createNameDatabase(); }

    QStringList rows(const char* statement, const char* column) {
        NameDatabase database(workspace.nameDatabase());
        database.open();
        QStringList values;
        for (NameQuery query(database, statement, column); !query.atEnd(); query.moveNext())
            values << query.value();
        return values;
    }

    QString failureOf(const std::function<void()>& action) {
        try {
            action();
        } catch (const AppError& e) {
            return e.message();
        }
        return {};
    }

    test::TempWorkspace workspace;
};

} // namespace

TEST_F(NameDatabaseTest, OpeningNeverCreatesTheFile) {
    const QString missing = workspace.path(QStringLiteral("elsewhere/names.mdb"));
    NameDatabase database(missing);
    EXPECT_EQ(failureOf([&] { database.open(); }), QStringLiteral("unable to open database file: ") + missing);
    EXPECT_FALSE(database.isOpen());
    EXPECT_FALSE(QFileInfo::exists(missing));
    // Closing what never opened is no failure.
    EXPECT_NO_THROW(database.close());
}

TEST_F(NameDatabaseTest, AFileThatIsNoDatabaseFailsAtTheOpen) {
    const QString garbage = workspace.writeFile(QStringLiteral("garbage.mdb"), QByteArray(4096, 'x'));
    NameDatabase database(garbage);
    EXPECT_EQ(failureOf([&] { database.open(); }), QStringLiteral("file is not a database: ") + garbage);
    EXPECT_FALSE(database.isOpen());
    EXPECT_EQ(QFileInfo(garbage).size(), 4096);
}

TEST_F(NameDatabaseTest, StoresEveryNameExactlyAsGiven) {
    // Quotes, SQL text and other characters travel as parameters and arrive unchanged.
    const QStringList names = {
        QStringLiteral("O'Brien"), QStringLiteral("x'); drop table user_lastname; --"),
        QStringLiteral("\"%_\\"),  QStringLiteral("  de la Tour  "),
        QStringLiteral("MARIE"),   QStringLiteral("\u200FRTL\u202E"),
        QStringLiteral("Zoë 😀"),
    };
    NameDatabase database(workspace.nameDatabase());
    database.open();
    for (const QString& name : names)
        database.execute(statements::kInsertUserLastName, {name});
    database.close();

    QStringList stored = rows("select lastname from user_lastname order by rowid", "lastname");
    EXPECT_EQ(stored, names);
}

TEST_F(NameDatabaseTest, ANameColumnHoldsAtMostFiftyCharacters) {
    NameDatabase database(workspace.nameDatabase());
    database.open();
    EXPECT_NO_THROW(database.execute(statements::kInsertUserFirstName, {QString(50, QLatin1Char('a'))}));
    EXPECT_EQ(failureOf([&] { database.execute(statements::kInsertUserFirstName, {QString(51, QLatin1Char('a'))}); }),
              QStringLiteral("CHECK constraint failed: length(firstname) <= 50"));

    EXPECT_EQ(truncatedName(QString(51, QLatin1Char('b'))), QString(50, QLatin1Char('b')));
    EXPECT_EQ(truncatedName(QStringLiteral("Hélène")), QStringLiteral("Hélène"));
    // A character outside the basic plane is one character, and is never cut in two.
    const QString face = QStringLiteral("😀");
    const QString long49 = QString(49, QLatin1Char('c'));
    EXPECT_EQ(truncatedName(long49 + face + face), long49 + face);
    EXPECT_NO_THROW(database.execute(statements::kInsertUserFirstName, {truncatedName(long49 + face + face)}));
}

TEST_F(NameDatabaseTest, DeleteRemovesEveryLetterCaseAndEveryCopyOfTheName) {
    workspace.storeNames("system_mfirstname", {"Jean", "JEAN", "jean", "Jean", "Jeanne", "Jéan", "Hélène", "HÉLÈNE",
                                               "Helene", "L'Hostis", "l'hostis"});
    NameDatabase database(workspace.nameDatabase());
    database.open();
    database.execute(statements::kDeleteMaleFirstName, {QStringLiteral("Jean")});
    database.execute(statements::kDeleteMaleFirstName, {QStringLiteral("Hélène")});
    // A name with an apostrophe is deleted like any other.
    database.execute(statements::kDeleteMaleFirstName, {QStringLiteral("L'Hostis")});
    database.close();
    EXPECT_EQ(rows("select Mfirst from system_mfirstname order by rowid", "Mfirst"),
              QStringList({"Jeanne", "Jéan", "Helene"}));
}

TEST_F(NameDatabaseTest, ClearEmptiesOnlyItsOwnList) {
    workspace.storeNames("user_firstname", {"Anne", "Paul"});
    workspace.storeNames("user_lastname", {"Martin"});
    NameDatabase database(workspace.nameDatabase());
    database.open();
    database.execute(statements::kClearUserFirstNames);
    database.close();
    EXPECT_TRUE(rows(statements::kUserFirstNames, "firstname").isEmpty());
    EXPECT_EQ(rows(statements::kUserLastNames, "lastname"), QStringList({"Martin"}));
}

TEST_F(NameDatabaseTest, FailuresCarryTheEnginesMessage) {
    NameDatabase database(workspace.nameDatabase());
    EXPECT_EQ(failureOf([&] { database.execute(statements::kClearUserFirstNames); }),
              QStringLiteral("The name database is not open: ") + workspace.nameDatabase());
    database.open();
    database.execute("drop table user_lastname");
    EXPECT_EQ(failureOf([&] { NameQuery query(database, statements::kUserLastNames, "lastname"); }),
              QStringLiteral("no such table: user_lastname"));
    EXPECT_EQ(failureOf([&] { database.execute(statements::kInsertUserLastName, {QStringLiteral("Roy")}); }),
              QStringLiteral("no such table: user_lastname"));
    // The connection is still usable after a rejected statement.
    EXPECT_NO_THROW(database.execute(statements::kInsertUserFirstName, {QStringLiteral("Roy")}));
}

TEST_F(NameDatabaseTest, AMissingValueReadsAsEmptyText) {
    workspace.storeNames("user_firstname", {"Anne"});
    NameDatabase database(workspace.nameDatabase());
    database.open();
    database.execute("insert into user_firstname values (null)");
    database.close();
    EXPECT_EQ(rows(statements::kUserFirstNames, "firstname"), QStringList({"", "Anne"}));
}

TEST_F(NameDatabaseTest, WritesThroughAWriteAheadLogThatOtherCopiesShare) {
    EXPECT_EQ(rows("pragma journal_mode", "journal_mode"), QStringList({"wal"}));
    // A second connection sees a change the moment the first has made it, with no transaction.
    NameDatabase first(workspace.nameDatabase());
    NameDatabase second(workspace.nameDatabase());
    first.open();
    second.open();
    first.execute(statements::kInsertUserLastName, {QStringLiteral("Durand")});
    QStringList seen;
    for (NameQuery query(second, statements::kUserLastNames, "lastname"); !query.atEnd(); query.moveNext())
        seen << query.value();
    EXPECT_EQ(seen, QStringList({"Durand"}));
}

TEST_F(NameDatabaseTest, CreatingRefusesToReplaceAnExistingFile) {
    EXPECT_THROW(NameDatabase::create(workspace.nameDatabase()), AppError);
    EXPECT_NO_THROW(rows(statements::kUserFirstNames, "firstname"));
}
