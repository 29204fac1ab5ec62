#include "tempworkspace.h"

#include "store/namedatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <map>

namespace quillory::test {

TempWorkspace::TempWorkspace() {
    EXPECT_TRUE(m_dir.isValid());
    QDir(m_dir.path()).mkpath(QStringLiteral("program"));
}

QString TempWorkspace::programFolder() const {
    return m_dir.filePath(QStringLiteral("program"));
}

QString TempWorkspace::writeFile(const QString& relative, const QByteArray& bytes) const {
    const QString target = path(relative);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile file(target);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << target.toStdString();
    file.write(bytes);
    return target;
}

void TempWorkspace::createNameDatabase() const {
    NameDatabase::create(nameDatabase());
}

void TempWorkspace::installBuiltInNames() const {
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUILLORY_BUILTIN_NAMES_DB), nameDatabase()));
    QFile::setPermissions(nameDatabase(), QFile::ReadOwner | QFile::WriteOwner);
}

void TempWorkspace::storeNames(const char* table, const QStringList& names) const {
    NameDatabase database(nameDatabase());
    database.open();
    // The first column of the table, whatever its name.
    const QByteArray statement = QByteArray("insert into ") + table + " values (?1)";
    database.execute("begin");
    for (const QString& name : names)
        database.execute(statement.constData(), {name});
    database.execute("commit");
}

QStringList TempWorkspace::storedNames(const char* table, const QString& file) const {
    NameDatabase database(file.isEmpty() ? nameDatabase() : file);
    database.open();
    const std::map<QByteArray, const char*> columns = {{"system_mfirstname", "Mfirst"},
                                                       {"system_ffirstname", "Ffirst"},
                                                       {"system_lastname", "Last"},
                                                       {"user_firstname", "firstname"},
                                                       {"user_lastname", "lastname"}};
    QStringList names;
    const QByteArray statement = QByteArray("select * from ") + table + " order by rowid";
    NameQuery query(database, statement.constData(), columns.at(table));
    for (; !query.atEnd(); query.moveNext())
        names << query.value();
    return names;
}

QByteArray shippedHandCursor() {
    QFile file(QStringLiteral(QUILLORY_SOURCE_DIR "/app/resources/HAND-M.CUR"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

} // namespace quillory::test
