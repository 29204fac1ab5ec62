// Builds the name database that ships beside the program from the built-in lists: one UTF-8 text
// file per table, one name per line, and the births of each first name by decade. The database is
// written under a temporary name and renamed when complete, so an interrupted build never leaves a
// partial file behind.
//
//     quillory-make-names-db OUTPUT MALE_FIRST_NAMES FEMALE_FIRST_NAMES LAST_NAMES BIRTHS_BY_DECADE
//
// The births by decade hold nothing of the user's, so they can also be brought up to date in a
// database that is in use, every other table left as it is (and a database made by an earlier version
// gets its built-in surnames respelt, as the program does when it opens one):
//
//     quillory-make-names-db --births DATABASE BIRTHS_BY_DECADE

#include "core/apperror.h"
#include "store/namebirths.h"
#include "store/namedatabase.h"
#include "store/namestatements.h"

#include <QFile>
#include <QString>

#include <cstdio>

namespace {

using quillory::AppError;

constexpr char kInsertMaleFirstName[] = "insert into system_mfirstname (Mfirst) values (?1)";

QList<QByteArray> linesOf(const QString& listFile) {
    QFile file(listFile);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("%1: %2").arg(listFile, file.errorString()));
    QList<QByteArray> lines = file.readAll().split('\n');
    for (QByteArray& line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    return lines;
}

int insertLines(quillory::NameDatabase& database, const char* statement, const QString& listFile) {
    int count = 0;
    for (const QByteArray& line : linesOf(listFile)) {
        if (line.isEmpty())
            continue;
        database.execute(statement, {quillory::truncatedName(QString::fromUtf8(line))});
        ++count;
    }
    return count;
}

// The births file: a header "name, sex, 1900, 1910 ... 2020" (each column a decade, the last one
// ending with the last year of the data), then a name, M or F and one count per decade on each line.
std::vector<quillory::PeriodBirths> readBirthsByDecade(const QString& file) {
    const QList<QByteArray> lines = linesOf(file);
    const auto fail = [&](int line, const char* what) {
        throw AppError(QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(QLatin1String(what)));
    };
    const QList<QByteArray> header = lines.value(0).split('\t');
    if (header.size() < 3 || header[0] != "name" || header[1] != "sex")
        fail(1, "expected the header: name, sex and the first year of each decade");
    std::vector<int> decades;
    for (qsizetype i = 2; i < header.size(); ++i) {
        bool ok = false;
        const int year = header[i].toInt(&ok);
        const int expected = quillory::kFirstBirthYear + 10 * static_cast<int>(i - 2);
        if (!ok || year != expected || year > quillory::kLastBirthYear)
            fail(1, "the decades must run from the first year of births, ten years apart");
        decades.push_back(year);
    }
    if (decades.back() + 9 < quillory::kLastBirthYear)
        fail(1, "the decades end before the last year of births");

    std::vector<quillory::PeriodBirths> rows;
    for (qsizetype n = 1; n < lines.size(); ++n) {
        if (lines[n].isEmpty())
            continue;
        const QList<QByteArray> fields = lines[n].split('\t');
        if (fields.size() != header.size() || fields[0].isEmpty() || (fields[1] != "M" && fields[1] != "F"))
            fail(static_cast<int>(n + 1), "expected a name, M or F, and one count per decade");
        for (std::size_t d = 0; d < decades.size(); ++d) {
            bool ok = false;
            const qulonglong births = fields[static_cast<qsizetype>(d) + 2].toULongLong(&ok);
            if (!ok)
                fail(static_cast<int>(n + 1), "a count of births is not a whole number");
            if (births > 0)
                rows.push_back({quillory::truncatedName(QString::fromUtf8(fields[0])), fields[1][0], decades[d],
                                std::min(decades[d] + 9, quillory::kLastBirthYear), births});
        }
    }
    return rows;
}

int updateBirths(const QString& databaseFile, const QString& birthsFile) {
    const std::vector<quillory::PeriodBirths> rows = readBirthsByDecade(birthsFile);
    quillory::NameDatabase database(databaseFile);
    database.open();
    database.execute("begin immediate");
    quillory::replaceFirstNameBirths(database, rows);
    database.execute("commit");
    database.close();
    std::printf("%s: births by decade brought up to date (%zu counts)\n", databaseFile.toLocal8Bit().constData(),
                rows.size());
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    const bool birthsOnly = argc == 4 && std::string_view(argv[1]) == "--births";
    if (argc != 6 && !birthsOnly) {
        std::fprintf(stderr,
                     "usage: %s OUTPUT MALE_FIRST_NAMES FEMALE_FIRST_NAMES LAST_NAMES BIRTHS_BY_DECADE\n"
                     "       %s --births DATABASE BIRTHS_BY_DECADE\n",
                     argv[0], argv[0]);
        return 2;
    }
    if (birthsOnly) {
        try {
            return updateBirths(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
        } catch (const AppError& e) {
            std::fprintf(stderr, "%s\n", e.what());
            return 1;
        }
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    const QString partial = output + QStringLiteral(".part");
    try {
        const std::vector<quillory::PeriodBirths> births = readBirthsByDecade(QString::fromLocal8Bit(argv[5]));
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
        quillory::replaceFirstNameBirths(database, births);
        database.execute("commit");
        // Rows inserted out of key order leave pages part full: the shipped file is packed once.
        database.execute("vacuum");
        database.close();
        QFile::remove(output);
        if (!QFile::rename(partial, output))
            throw AppError(QStringLiteral("Cannot rename %1 to %2").arg(partial, output));
        std::printf("%s: %d male first names, %d female first names, %d last names, %zu counts of births\n", argv[1],
                    male, female, last, births.size());
        return 0;
    } catch (const AppError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        QFile::remove(partial);
        return 1;
    }
}
