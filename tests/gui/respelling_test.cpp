// A user's copy of names.mdb made by version 1 of the built-in names, with the user's own changes,
// opened by the window: its built-in surnames are respelt once, exactly as the spellings table says,
// and nothing else of it changes.
#include "mainwindowfixture.h"

#include "store/lastnamespellings.h"
#include "store/namedatabase.h"

#include <QCryptographicHash>
#include <QSet>

#include <sqlite3.h>

namespace quillory::test {
namespace {

void run(const QString& file, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(file).constData(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

QByteArray digestOf(const QString& file) {
    QFile in(file);
    EXPECT_TRUE(in.open(QIODevice::ReadOnly));
    return QCryptographicHash::hash(in.readAll(), QCryptographicHash::Sha256);
}

class RespellingTest : public MainWindowFixture {};

} // namespace

TEST_F(RespellingTest, AnOlderCopyIsRespeltOnceAndKeepsEverythingElse) {
    const QString copy = workspace.installVersion1Names();
    // What the user did with version 1: deleted Guerin, added Lefèvre by hand beside the shipped
    // Lefevre, kept a User List of their own with an unaccented Lefevre.
    run(copy, "delete from system_lastname where Last = 'Guerin';"
              "insert into system_lastname values ('LEFÈVRE');"
              "insert into user_firstname values ('Anne'), ('Zoé');"
              "insert into user_lastname values ('Lefevre'), ('Riviere');");
    const QStringList before = workspace.storedNames("system_lastname");
    const QStringList userFirst = workspace.storedNames("user_firstname");
    const QStringList userLast = workspace.storedNames("user_lastname");
    const QStringList male = workspace.storedNames("system_mfirstname");
    ASSERT_TRUE(before.contains(QStringLiteral("Lefevre")) && before.contains(QStringLiteral("Riviere")));

    // What the spellings table says, worked out here from the data file on its own.
    QHash<QString, QString> spelling;
    QFile table(QStringLiteral(QUILLORY_SOURCE_DIR "/data/last_name_spellings.tsv"));
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    for (const QByteArray& row : table.readAll().split('\n').mid(1))
        if (const QList<QByteArray> fields = row.split('\t'); fields.size() == 3)
            spelling.insert(QString::fromUtf8(fields[0]), QString::fromUtf8(fields[1]));
    ASSERT_EQ(spelling.size(), 327);
    QSet<QString> stored;
    for (const QString& name : before)
        stored.insert(name.toCaseFolded());
    QStringList expected;
    for (const QString& name : before) {
        if (!spelling.contains(name))
            expected << name;
        else if (!stored.contains(spelling[name].toCaseFolded())) // stored already: not doubled
            expected << spelling[name];
    }
    ASSERT_FALSE(expected.contains(QStringLiteral("Lefèvre"))) << "only the user's LEFÈVRE";

    MainWindow& window = loadAndShow();
    EXPECT_TRUE(dialogs.errorReports().isEmpty()) << dialogs.errorReports().join(u'\n').toStdString();
    EXPECT_EQ(workspace.storedNames("system_lastname"), expected);
    EXPECT_FALSE(workspace.storedNames("system_lastname").contains(QStringLiteral("Guérin"))) << "stays deleted";
    EXPECT_EQ(workspace.storedNames("user_firstname"), userFirst);
    EXPECT_EQ(workspace.storedNames("user_lastname"), userLast);
    EXPECT_EQ(workspace.storedNames("system_mfirstname"), male);
    const QStringList shown = window.listView2()->items().texts();
    EXPECT_TRUE(shown.contains(QStringLiteral("Lefèvre")) && shown.contains(QStringLiteral("Rivière")));
    EXPECT_FALSE(shown.contains(QStringLiteral("Lefevre")));
    EXPECT_EQ(shown.count(QStringLiteral("Lefèvre")), 1);
    {
        NameDatabase database(copy);
        database.openForReading();
        EXPECT_EQ(namesVersionOf(database), kNamesVersion);
    }

    // Done once: the next opens change nothing, byte for byte.
    const QByteArray done = digestOf(copy);
    MainWindow& again = loadAndShow();
    again.FillNameLists();
    EXPECT_EQ(digestOf(copy), done);
}

} // namespace quillory::test
