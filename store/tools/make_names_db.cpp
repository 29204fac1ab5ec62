// Builds the name database that ships beside the program from the built-in lists: one UTF-8 text
// file per table, one name per line. The database is written under a temporary name and renamed
// when complete, so an interrupted build never leaves a partial file behind.
//
//     quillory-make-names-db OUTPUT MALE_FIRST_NAMES FEMALE_FIRST_NAMES LAST_NAMES

#include "core/apperror.h"
#include "store/namedatabase.h"
#include "store/namestatements.h"

#include <QFile>
#include <QString>

#include <cstdio>

namespace {

constexpr char kInsertMaleFirstName[] = "insert into system_mfirstname (Mfirst) values (?1)";

int insertLines(quillory::NameDatabase& database, const char* statement, const QString& listFile) {
    QFile file(listFile);
    if (!file.open(QIODevice::ReadOnly))
        throw quillory::AppError(QStringLiteral("%1: %2").arg(listFile, file.errorString()));
    int count = 0;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QString name = QString::fromUtf8(line).remove(QLatin1Char('\r'));
        if (name.isEmpty())
            continue;
        database.execute(statement, {quillory::truncatedName(name)});
        ++count;
    }
    return count;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s OUTPUT MALE_FIRST_NAMES FEMALE_FIRST_NAMES LAST_NAMES\n", argv[0]);
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    const QString partial = output + QStringLiteral(".part");
    try {
        QFile::remove(partial);
        quillory::NameDatabase::create(partial);
        quillory::NameDatabase database(partial);
        database.open();
        database.execute("begin");
        const int male = insertLines(database, kInsertMaleFirstName, QString::fromLocal8Bit(argv[2]));
        const int female =
            insertLines(database, quillory::statements::kInsertSystemFirstName, QString::fromLocal8Bit(argv[3]));
        const int last =
            insertLines(database, quillory::statements::kInsertSystemLastName, QString::fromLocal8Bit(argv[4]));
        database.execute("commit");
        database.close();
        QFile::remove(output);
        if (!QFile::rename(partial, output))
            throw quillory::AppError(QStringLiteral("Cannot rename %1 to %2").arg(partial, output));
        std::printf("%s: %d male first names, %d female first names, %d last names\n", argv[1], male, female, last);
        return 0;
    } catch (const quillory::AppError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        QFile::remove(partial);
        return 1;
    }
}
