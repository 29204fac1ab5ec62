#include "tempworkspace.h"

#include "store/namedatabase.h"

#include <QHash>
#include <sqlite3.h>

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

QString TempWorkspace::installVersion1Names(const QString& file) const {
    const QString target = file.isEmpty() ? nameDatabase() : file;
    QFile::remove(target);
    // The spellings table read on its own: the form shipped before for each spelling now.
    QHash<QString, QString> shipped;
    {
        QFile table(QStringLiteral(QUILLORY_SOURCE_DIR "/data/last_name_spellings.tsv"));
        EXPECT_TRUE(table.open(QIODevice::ReadOnly));
        const QList<QByteArray> rows = table.readAll().split('\n');
        for (qsizetype i = 1; i < rows.size(); ++i)
            if (const QList<QByteArray> fields = rows[i].split('\t'); fields.size() == 3)
                shipped.insert(QString::fromUtf8(fields[1]), QString::fromUtf8(fields[0]));
    }
    const auto lines = [](const char* list) {
        QFile in(QStringLiteral(QUILLORY_SOURCE_DIR "/data/") + QLatin1String(list));
        EXPECT_TRUE(in.open(QIODevice::ReadOnly));
        QStringList names = QString::fromUtf8(in.readAll()).split(u'\n', Qt::SkipEmptyParts);
        return names;
    };
    NameDatabase::create(target);
    QStringList last = lines("last_names.txt");
    for (QString& name : last)
        name = shipped.value(name, name);
    storeNamesIn(target, "system_mfirstname", lines("male_first_names.txt"));
    storeNamesIn(target, "system_ffirstname", lines("female_first_names.txt"));
    storeNamesIn(target, "system_lastname", last);
    NameDatabase database(target);
    database.openForReading(); // checks the file, writes nothing
    database.close();
    // Version 1 recorded no version of its names.
    sqlite3* raw = nullptr;
    sqlite3_open(QFile::encodeName(target).constData(), &raw);
    sqlite3_exec(raw, "pragma user_version = 0", nullptr, nullptr, nullptr);
    sqlite3_close(raw);
    return target;
}

void TempWorkspace::storeNames(const char* table, const QStringList& names) const {
    storeNamesIn(nameDatabase(), table, names);
}

void TempWorkspace::storeNamesIn(const QString& file, const char* table, const QStringList& names) const {
    NameDatabase database(file);
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
    database.openForReading(); // looking changes nothing
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
