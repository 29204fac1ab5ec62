#include "lastnamespellings.h"

#include "namecollation.h"
#include "namedatabase.h"
#include "namelists.h"
#include "namestatements.h"

#include "core/apperror.h"

#include <algorithm>

namespace quillory {

namespace spellings_data {
extern const char kLastNameSpellings[];
} // namespace spellings_data

namespace {

constexpr char kVersion[] = "pragma user_version";
constexpr char kAllLastNames[] = "select Last from system_lastname";
constexpr char kHasLastNames[] =
    "select count(*) as present from sqlite_master where type = 'table' and name = 'system_lastname'";
// ?1 the form shipped before, ?2 its spelling now.
constexpr char kDropDoubled[] = "delete from system_lastname where Last = ?1 collate binary and exists "
                                "(select 1 from system_lastname where Last = ?2 collate french_nocase)";
constexpr char kRespell[] = "update system_lastname set Last = ?2 where Last = ?1 collate binary";

} // namespace

QString builtInNamesLine() {
    return QStringLiteral("Built-in names: version %1. Source : INSEE, Licence Ouverte / Open Licence 2.0.\n"
                          "Places: Source : INSEE, Code officiel géographique 2026 et populations légales 2023 ; "
                          "La Poste, base officielle des codes postaux. Licence Ouverte / Open Licence 2.0.")
        .arg(kNamesVersion);
}

const QHash<QString, QString>& lastNameSpellings() {
    static const QHash<QString, QString> table = [] {
        QHash<QString, QString> spellings;
        const QStringList lines = QString::fromUtf8(spellings_data::kLastNameSpellings).split(u'\n');
        for (qsizetype i = 1; i < lines.size(); ++i) { // after the header
            const QStringList fields = lines[i].split(u'\t');
            if (fields.size() == 3 && !fields[0].isEmpty() && !fields[1].isEmpty())
                spellings.insert(fields[0], fields[1]);
        }
        return spellings;
    }();
    return table;
}

int namesVersionOf(NameDatabase& database) {
    NameQuery query(database, kVersion, "user_version");
    return query.atEnd() ? 0 : static_cast<int>(query.integer(0));
}

void setNamesVersion(NameDatabase& database, int version) {
    database.execute(QByteArray("pragma user_version = " + QByteArray::number(version)).constData());
}

bool bringBuiltInNamesUpToDate(NameDatabase& database) {
    if (namesVersionOf(database) >= kNamesVersion)
        return false;
    {
        NameQuery tables(database, kHasLastNames, "present");
        if (tables.atEnd() || tables.integer(0) == 0)
            return false; // not a names database of ours: left as it is
    }
    database.execute("begin immediate");
    try {
        // Another copy of the program may have done it while this one waited.
        if (namesVersionOf(database) < kNamesVersion) {
            const QHash<QString, QString>& spellings = lastNameSpellings();
            for (auto it = spellings.cbegin(); it != spellings.cend(); ++it) {
                database.execute(kDropDoubled, {it.key(), it.value()});
                database.execute(kRespell, {it.key(), it.value()});
            }
            setNamesVersion(database, kNamesVersion);
        }
        database.execute("commit");
    } catch (const AppError&) {
        if (database.inTransaction())
            database.execute("rollback");
        throw;
    }
    return true;
}

QStringList builtInLastNames(NameDatabase& database) {
    if (namesVersionOf(database) >= kNamesVersion)
        return queryNames(database, statements::kSystemLastNames, "Last");
    // Respelt as bringBuiltInNamesUpToDate() would, then in the list's order.
    const auto before = [](const QString& a, const QString& b) { return compareNames(a, b) < 0; };
    const QStringList stored = queryNames(database, kAllLastNames, "Last");
    QStringList sorted = stored;
    std::stable_sort(sorted.begin(), sorted.end(), before);
    const QHash<QString, QString>& spellings = lastNameSpellings();
    QStringList names;
    names.reserve(stored.size());
    for (const QString& name : stored) {
        const auto respelt = spellings.constFind(name);
        if (respelt == spellings.cend())
            names.append(name);
        else if (!std::binary_search(sorted.cbegin(), sorted.cend(), *respelt, before))
            names.append(*respelt);
    }
    std::stable_sort(names.begin(), names.end(), before);
    return names;
}

} // namespace quillory
