#include "namebirths.h"

#include "core/apperror.h"
#include "namedatabase.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <numeric>

namespace quillory {

namespace {

// A name as it is looked up: without spaces or apostrophes, letter case folded.
bool isAscii(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// A name as it is first looked up: its letter case folded.
QString exactKeyOf(const QString& name) {
    return name.toCaseFolded();
}

// A name as it is looked up when no name is exactly it: without spaces, apostrophes or accents, its
// letter case folded, so that "LE FLOCH" finds Le Floc'h and "Lefevre" finds Lefèvre.
QString keyOf(const QString& name) {
    const QString decomposed = isAscii(name) ? name : name.normalized(QString::NormalizationForm_D);
    QString key;
    key.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c != u' ' && c != u'\'' && c != u'\u2019' && c != u'\u02bc' && c.category() != QChar::Mark_NonSpacing)
            key.append(c);
    return key.toCaseFolded();
}

constexpr char kCreateFirstNameBirths[] = R"(
    create table system_firstnamebirths (
        firstname text not null check (length(firstname) <= 50),
        sex text not null check (sex in ('M', 'F')),
        fromyear integer not null,
        toyear integer not null check (toyear >= fromyear),
        births integer not null check (births > 0),
        primary key (firstname, sex, fromyear)) without rowid)";
constexpr char kDropFirstNameBirths[] = "drop table if exists system_firstnamebirths";
constexpr char kInsertFirstNameBirths[] =
    "insert into system_firstnamebirths (firstname, sex, fromyear, toyear, births) values (?1, ?2, ?3, ?4, ?5)";
constexpr char kHasFirstNameBirths[] =
    "select count(*) as present from sqlite_master where type = 'table' and name = 'system_firstnamebirths'";
// ?1 and ?2: the first and last year; ?3: the sexes, "M", "F" or "MF".
constexpr char kFirstNameBirthsIn[] =
    "select firstname, sex, fromyear, toyear, births from system_firstnamebirths "
    "where toyear >= cast(?1 as integer) and fromyear <= cast(?2 as integer) and instr(?3, sex) > 0";

// The years a period of births may span at all; the data's own run from 1900 to 2024.
constexpr std::int64_t kFirstRecordedYear = 1900;
constexpr std::int64_t kLastRecordedYear = 2100;

constexpr char kFirstNamesWithBirths[] = "select distinct firstname from system_firstnamebirths";

// The largest common denominator a read may need; periods of whole decades or half decades need 10.
constexpr std::int64_t kMaxScale = 1 << 20;

} // namespace

std::variant<BirthYears, YearsProblem> birthYearsFrom(const QString& text) {
    static const QRegularExpression kYears(QStringLiteral("^\\s*([0-9]{4})(?:\\s*[-\u2013]\\s*([0-9]{4}))?\\s*$"));
    const QRegularExpressionMatch match = kYears.match(text);
    if (!match.hasMatch())
        return YearsProblem::NotYears;
    const int first = match.captured(1).toInt();
    const int last = match.hasCaptured(2) ? match.captured(2).toInt() : first;
    if (std::min(first, last) < kFirstBirthYear || std::max(first, last) > kLastBirthYear)
        return YearsProblem::OutOfRange;
    if (last < first)
        return YearsProblem::Backwards;
    return BirthYears{first, last};
}

QString birthYearsText(BirthYears years) {
    if (years.first == years.last)
        return QString::number(years.first);
    return QStringLiteral("%1\u2013%2").arg(years.first).arg(years.last);
}

void replaceFirstNameBirths(NameDatabase& database, const std::vector<PeriodBirths>& rows) {
    // Made anew, so that the table always has the form this version gives it.
    database.execute(kDropFirstNameBirths);
    database.execute(kCreateFirstNameBirths);
    for (const PeriodBirths& row : rows)
        database.execute(kInsertFirstNameBirths,
                         {row.name, QString(QLatin1Char(row.sex)), QString::number(row.fromYear),
                          QString::number(row.toYear), QString::number(row.births)});
}

bool hasFirstNameBirths(NameDatabase& database) {
    NameQuery query(database, kHasFirstNameBirths, "present");
    return !query.atEnd() && query.integer(0) > 0;
}

YearBirths YearBirths::read(NameDatabase& database, BirthYears years, bool male, bool female) {
    struct Share {
        QString key;
        std::int64_t births;
        std::int64_t covered; // years of the period inside `years`, reduced with `period`
        std::int64_t period;  // years of the period, reduced
    };
    std::vector<Share> shares;
    std::int64_t scale = 1; // the least common multiple of the reduced periods
    const QString sexes = QString(male ? QStringLiteral("M") : QString()) + (female ? QStringLiteral("F") : QString());
    for (NameQuery query(database, kFirstNameBirthsIn, "firstname",
                         {QString::number(years.first), QString::number(years.last), sexes});
         !query.atEnd(); query.moveNext()) {
        const std::int64_t from = query.integer(2);
        const std::int64_t to = query.integer(3);
        const std::int64_t births = query.integer(4);
        if (to < from || from < kFirstRecordedYear || to > kLastRecordedYear || births < 0)
            throw AppError(QStringLiteral("system_firstnamebirths: %1 %2-%3: not a count of births")
                               .arg(query.value())
                               .arg(from)
                               .arg(to));
        const std::int64_t covered =
            std::min<std::int64_t>(to, years.last) - std::max<std::int64_t>(from, years.first) + 1;
        const std::int64_t common = std::gcd(covered, to - from + 1);
        Share share{exactKeyOf(query.value()), births, covered / common, (to - from + 1) / common};
        scale = std::lcm(scale, share.period);
        if (scale > kMaxScale)
            throw AppError(QStringLiteral("system_firstnamebirths: periods of years too uneven to weigh exactly"));
        shares.push_back(std::move(share));
    }

    YearBirths result;
    QHash<QString, std::uint64_t> exact;
    unsigned __int128 total = 0;
    for (const Share& share : shares) {
        // births × covered / period, times the scale: a whole number, since the period divides the scale.
        const unsigned __int128 weight = static_cast<unsigned __int128>(share.births) *
                                         static_cast<std::uint64_t>(share.covered) *
                                         static_cast<std::uint64_t>(scale / share.period);
        total += weight;
        if (total >= (static_cast<unsigned __int128>(1) << 63))
            throw AppError(QStringLiteral("system_firstnamebirths: more births than a draw can weigh"));
        if (weight != 0)
            exact[share.key] += static_cast<std::uint64_t>(weight);
    }
    // Every built-in first name, given in those years or not, is found as itself; any other whatever
    // its accents too, the most common of the names alike answering for it.
    for (NameQuery names(database, kFirstNamesWithBirths, "firstname"); !names.atEnd(); names.moveNext())
        result.m_known.insert(exactKeyOf(names.value()));
    for (auto it = exact.cbegin(); it != exact.cend(); ++it) {
        std::uint64_t& alike = result.m_alike[keyOf(it.key())];
        alike = std::max(alike, it.value());
    }
    result.m_weights = std::move(exact);
    return result;
}

std::uint64_t YearBirths::weight(const QString& name) const {
    const QString key = exactKeyOf(name);
    if (m_known.contains(key))
        return m_weights.value(key, 0);
    return m_alike.value(keyOf(name), 0);
}

BirthCounts BirthCounts::read(const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("%1: %2").arg(file, in.errorString()));
    BirthCounts births;
    // Each list's births, and both first-name lists together, stay below 2^63, so that every sum a
    // draw makes of them (with the least count for names the file lacks) can be checked exactly.
    constexpr std::uint64_t kMostBirths = std::uint64_t{1} << 62;
    std::uint64_t totals[3] = {};
    int lineNumber = 0;
    bool any = false;
    while (!in.atEnd()) {
        const QByteArray line = in.readLine().trimmed();
        ++lineNumber;
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QList<QByteArray> fields = line.split('\t');
        bool ok = fields.size() == 3 && fields[0].size() == 1;
        const int list = ok ? QByteArrayView("mfl").indexOf(fields[0][0]) : -1;
        const std::uint64_t count = ok ? fields[2].toULongLong(&ok) : 0;
        if (!ok || list < 0 || count == 0)
            throw AppError(QStringLiteral("%1:%2: not a birth count line").arg(file).arg(lineNumber));
        if (count > kMostBirths || totals[list] > kMostBirths - count)
            throw AppError(
                QStringLiteral("%1:%2: the births add up to more than a draw can weigh").arg(file).arg(lineNumber));
        totals[list] += count;
        const QString name = QString::fromUtf8(fields[1]);
        births.m_counts[list][exactKeyOf(name)] += count;
        // Of the names that look alike once folded, the most common answers for them.
        std::uint64_t& alike = births.m_alike[list][keyOf(name)];
        alike = std::max(alike, births.m_counts[list][exactKeyOf(name)]);
        any = true;
    }
    if (in.error() != QFileDevice::NoError)
        throw AppError(QStringLiteral("%1: %2").arg(file, in.errorString()));
    if (!any)
        throw AppError(QStringLiteral("%1: no birth counts").arg(file));

    for (int list = 0; list < 3; ++list)
        for (const std::uint64_t count : std::as_const(births.m_counts[list]))
            births.m_least[list] = births.m_least[list] == 0 ? count : std::min(births.m_least[list], count);
    QHash<QString, std::uint64_t> first = births.m_counts[0];
    for (auto it = births.m_counts[1].cbegin(); it != births.m_counts[1].cend(); ++it)
        first[it.key()] += it.value();
    for (const std::uint64_t count : std::as_const(first))
        births.m_leastFirst = births.m_leastFirst == 0 ? count : std::min(births.m_leastFirst, count);
    return births;
}

std::uint64_t BirthCounts::count(BirthList list, const QString& name) const {
    const int at = static_cast<int>(list);
    if (const auto exact = m_counts[at].constFind(exactKeyOf(name)); exact != m_counts[at].cend())
        return *exact;
    return m_alike[at].value(keyOf(name), 0);
}

std::uint64_t BirthCounts::firstNameCount(const QString& name) const {
    return count(BirthList::Male, name) + count(BirthList::Female, name);
}

std::uint64_t BirthCounts::least(BirthList list) const {
    return m_least[static_cast<int>(list)];
}

} // namespace quillory
