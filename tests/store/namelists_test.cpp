#include "core/apperror.h"
#include "core/namelistmodel.h"
#include "core/procedures.h"
#include "store/namedatabase.h"
#include "store/namelists.h"
#include "tempworkspace.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <gtest/gtest.h>

using namespace quillory;

namespace {

QStringList itemsOf(const NameListModel& model) {
    QStringList items;
    for (int i = 0; i < model.count(); ++i)
        items << model.at(i);
    return items;
}

class NameListsTest : public ::testing::Test {
protected:
    void SetUp() override {
        workspace.createNameDatabase();
        workspace.storeNames("system_mfirstname", {"JEAN", "Camille", "jean", "louis", "Noël"});
        workspace.storeNames("system_ffirstname", {"marie", "Camille", "MARIE", "Jeanne", "Jean"});
        workspace.storeNames("system_lastname", {"martin", "DE LA TOUR", "Martin", "Lefèvre", "le floc'h"});
        workspace.storeNames("user_firstname", {"zoé", "anne", "Anne"});
        workspace.storeNames("user_lastname", {"roy", "ROY"});
    }

    void fill(NameSource source, GenderChoice gender) {
        fillNameLists(workspace.nameDatabase(), {source, gender}, first, last);
    }

    test::TempWorkspace workspace;
    NameListModel first;
    NameListModel last;
};

} // namespace

TEST_F(NameListsTest, HalvardsListShowsEachFirstNameOnceAndEveryLastNameInProperCase) {
    fill(NameSource::HalvardsList, GenderChoice::Both);
    // A first name stored in several letter cases or in both tables shows once.
    EXPECT_EQ(itemsOf(first), QStringList({"Camille", "Jean", "Jeanne", "Louis", "Marie", "Noël"}));
    // Last names show every copy.
    EXPECT_EQ(itemsOf(last), QStringList({"De La Tour", "Le Floc'h", "Lefèvre", "Martin", "Martin"}));

    fill(NameSource::HalvardsList, GenderChoice::MaleOnly);
    EXPECT_EQ(itemsOf(first), QStringList({"Camille", "Jean", "Louis", "Noël"}));
    fill(NameSource::HalvardsList, GenderChoice::FemaleOnly);
    EXPECT_EQ(itemsOf(first), QStringList({"Camille", "Jean", "Jeanne", "Marie"}));
}

TEST_F(NameListsTest, TheUserListShowsEveryCopy) {
    fill(NameSource::UserList, GenderChoice::MaleOnly);
    EXPECT_EQ(itemsOf(first), QStringList({"Anne", "Anne", "Zoé"}));
    EXPECT_EQ(itemsOf(last), QStringList({"Roy", "Roy"}));

    // Empty tables give empty lists, without a failure.
    NameDatabase database(workspace.nameDatabase());
    database.open();
    database.execute("delete from user_firstname");
    database.execute("delete from user_lastname");
    database.close();
    fill(NameSource::UserList, GenderChoice::Both);
    EXPECT_EQ(first.count(), 0);
    EXPECT_EQ(last.count(), 0);
}

TEST_F(NameListsTest, WithoutAChoiceAListIsLeftAsItIs) {
    first.setItems({"Kept"});
    last.setItems({"Also kept"});
    fill(NameSource::None, GenderChoice::Both);
    EXPECT_EQ(itemsOf(first), QStringList({"Kept"}));
    EXPECT_EQ(itemsOf(last), QStringList({"Also kept"}));
    fill(NameSource::HalvardsList, GenderChoice::None);
    EXPECT_EQ(itemsOf(first), QStringList({"Kept"}));
    EXPECT_EQ(last.count(), 5);
}

TEST_F(NameListsTest, AQueryThatCannotOpenLeavesItsListAsItWas) {
    first.setItems({"Earlier"});
    last.setItems({"Earlier too"});
    NameDatabase database(workspace.nameDatabase());
    database.open();
    database.execute("drop table system_ffirstname");
    database.close();

    // Halvard's List fills the last names first: they are refilled before the first names fail.
    EXPECT_THROW(fill(NameSource::HalvardsList, GenderChoice::FemaleOnly), AppError);
    EXPECT_EQ(itemsOf(first), QStringList({"Earlier"}));
    EXPECT_EQ(last.count(), 5);
}

TEST_F(NameListsTest, AMissingDatabaseChangesNothingAndCreatesNothing) {
    QFile::remove(workspace.nameDatabase());
    first.setItems({"Earlier"});
    try {
        fill(NameSource::UserList, GenderChoice::Both);
        ADD_FAILURE() << "the fill went through";
    } catch (const AppError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("unable to open database file"))) << e.what();
    }
    EXPECT_EQ(itemsOf(first), QStringList({"Earlier"}));
    EXPECT_FALSE(QFileInfo::exists(workspace.nameDatabase()));
}

TEST(BuiltInNamesTest, HoldTheWholeCollection) {
    test::TempWorkspace workspace;
    workspace.installBuiltInNames();
    NameListModel first;
    NameListModel last;
    fillNameLists(workspace.nameDatabase(), {NameSource::HalvardsList, GenderChoice::MaleOnly}, first, last);
    EXPECT_EQ(first.count(), 2254);
    EXPECT_EQ(last.count(), 15178);
    const int male = first.count();
    fillNameLists(workspace.nameDatabase(), {NameSource::HalvardsList, GenderChoice::FemaleOnly}, first, last);
    EXPECT_EQ(first.count(), 2728);
    const QStringList female = itemsOf(first);
    fillNameLists(workspace.nameDatabase(), {NameSource::HalvardsList, GenderChoice::Both}, first, last);
    // Names given to both sexes (Camille, Dominique...) show once.
    EXPECT_LT(first.count(), male + 2728);
    EXPECT_GT(first.count(), 4500);
    const QStringList both = itemsOf(first);
    for (const char* name : {"Camille", "Dominique", "Jean-Pierre", "Françoise", "Émile", "Marie-Thérèse"})
        EXPECT_TRUE(both.contains(QString::fromUtf8(name))) << name;
    EXPECT_TRUE(female.contains(QStringLiteral("Marie")));
    // An accented initial sorts with its letter, not after Z.
    EXPECT_LT(both.indexOf(QStringLiteral("Émile")), both.indexOf(QStringLiteral("Fabien")));
    EXPECT_TRUE(itemsOf(last).contains(QStringLiteral("Le Floc'h")));
}

// A read that fails part-way (a page of names.mdb damaged after the first ones) ends the fill with the
// engine's failure; the list keeps the names read before it, in order. The names are read through an
// index in their order, so the damage is met in the middle of the reading, not before the first row.
TEST_F(NameListsTest, AReadThatFailsPartWayKeepsTheNamesReadSoFar) {
    QStringList names;
    for (int i = 0; i < 4000; ++i)
        names << QStringLiteral("Prénom numéro %1").arg(i, 5, 10, QLatin1Char('0'));
    workspace.storeNames("user_lastname", {});
    {
        NameDatabase database(workspace.nameDatabase());
        database.open();
        database.execute("delete from user_firstname");
        database.execute("create index by_name on user_firstname (firstname collate french_nocase)");
    }
    workspace.storeNames("user_firstname", names);

    // The index's last leaf page, overwritten with garbage once every writer has gone.
    qint64 page = 0;
    qint64 pageSize = 0;
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open_v2(workspace.nameDatabase().toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr),
                  SQLITE_OK);
        sqlite3_stmt* query = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(db,
                                     "select pageno, pgsize from dbstat where name = 'by_name' and pagetype = 'leaf' "
                                     "order by path desc limit 1",
                                     -1, &query, nullptr),
                  SQLITE_OK)
            << sqlite3_errmsg(db);
        ASSERT_EQ(sqlite3_step(query), SQLITE_ROW);
        page = sqlite3_column_int64(query, 0);
        pageSize = sqlite3_column_int64(query, 1);
        sqlite3_finalize(query);
        sqlite3_close(db);
    }
    QFile file(workspace.nameDatabase());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.seek((page - 1) * pageSize));
    file.write(QByteArray(static_cast<qsizetype>(pageSize), '\xA5'));
    file.close();

    first.setItems(QStringList{QStringLiteral("before the fill")});
    try {
        fill(NameSource::UserList, GenderChoice::None);
        ADD_FAILURE() << "the fill went through a damaged page";
    } catch (const AppError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("malformed"))) << e.message().toStdString();
    }
    const QStringList kept = itemsOf(first);
    ASSERT_GT(kept.size(), 0);
    ASSERT_LT(kept.size(), names.size());
    QStringList shown;
    for (const QString& name : names.mid(0, kept.size()))
        shown << ProperCase(name);
    EXPECT_EQ(kept, shown);
}
