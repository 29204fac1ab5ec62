#include "namebirths.h"

#include "core/apperror.h"
#include "core/outputfile.h"
#include "namedatabase.h"
#include "namefilereader.h"

#include <QDate>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <limits>
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

// Ordered by first year, so that each name's periods come in the order a draw walks them.
constexpr char kAllFirstNameBirths[] = "select firstname, sex, fromyear, toyear, births from system_firstnamebirths "
                                       "order by firstname, sex, fromyear";
constexpr char kFirstNamesWithBirths[] = "select distinct firstname from system_firstnamebirths";

// The largest common denominator a read may need; periods of whole decades or half decades need 10.
constexpr std::int64_t kMaxScale = 1 << 20;
constexpr std::int64_t kMaxDayScale = std::int64_t{1} << 40;

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
    return BirthYears{first, last, std::nullopt, std::nullopt};
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
        std::int64_t covered = std::min<std::int64_t>(to, years.last) - std::max<std::int64_t>(from, years.first) + 1;
        std::int64_t length = to - from + 1;
        if (years.firstDay && years.lastDay) {
            const std::int64_t firstDay = QDate(static_cast<int>(from), 1, 1).toJulianDay();
            const std::int64_t lastDay = QDate(static_cast<int>(to), 12, 31).toJulianDay();
            covered =
                std::max<std::int64_t>(0, std::min(lastDay, *years.lastDay) - std::max(firstDay, *years.firstDay) + 1);
            length = lastDay - firstDay + 1;
        }
        const std::int64_t common = std::gcd(covered, length);
        Share share{exactKeyOf(query.value()), births, covered / common, length / common};
        scale = std::lcm(scale, share.period);
        // Days make periods uneven: two of different lengths in part need their product.
        if (scale > (years.firstDay ? kMaxDayScale : kMaxScale))
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

struct BirthCounts::Folded {
    QHash<QString, std::uint64_t> counts[3]; // by name, letter case folded
    QHash<QString, std::uint64_t> alike[3];  // by name folded further (see count())
    std::uint64_t leastFirst = 0;
};

namespace {

std::size_t hashOf(QByteArrayView bytes) {
    return qHash(bytes);
}

} // namespace

BirthCounts BirthCounts::read(const QString& file) {
    // Only a regular file is read: a named pipe would wait for ever, a device never end.
    std::unique_ptr<QIODevice> in;
    try {
        in = openNameFile(file, false);
    } catch (const AppError& error) {
        throw AppError(QStringLiteral("%1: %2").arg(file, error.message()));
    }
    if (in->size() > std::numeric_limits<std::uint32_t>::max())
        throw AppError(QStringLiteral("%1: %2").arg(file, systemMessage(EFBIG)));
    BirthCounts births;
    births.m_text = in->readAll();
    if (const auto* read = qobject_cast<QFile*>(in.get()); read != nullptr && read->error() != QFileDevice::NoError)
        throw AppError(QStringLiteral("%1: %2").arg(file, read->errorString()));
    if (births.m_text.size() > std::numeric_limits<std::uint32_t>::max())
        throw AppError(QStringLiteral("%1: %2").arg(file, systemMessage(EFBIG)));
    // Each list's births, and both first-name lists together, stay below 2^63, so that every sum a
    // draw makes of them (with the least count for names the file lacks) can be checked exactly.
    constexpr std::uint64_t kMostBirths = std::uint64_t{1} << 62;
    std::uint64_t totals[3] = {};
    const QByteArrayView text(births.m_text);
    int lineNumber = 0;
    for (qsizetype at = 0; at < text.size();) {
        qsizetype end = text.indexOf('\n', at);
        if (end < 0)
            end = text.size();
        const QByteArrayView line = text.sliced(at, end - at).trimmed();
        const qsizetype lineStart = line.isEmpty() ? at : line.data() - text.data();
        at = end + 1;
        ++lineNumber;
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const qsizetype tab1 = line.indexOf('\t');
        const qsizetype tab2 = tab1 < 0 ? -1 : line.indexOf('\t', tab1 + 1);
        bool ok = tab1 == 1 && tab2 > tab1 + 1 && line.indexOf('\t', tab2 + 1) < 0;
        const int list = ok ? QByteArrayView("mfl").indexOf(line[0]) : -1;
        const std::uint64_t count = ok ? line.sliced(tab2 + 1).toULongLong(&ok) : 0;
        if (!ok || list < 0 || count == 0)
            throw AppError(QStringLiteral("%1:%2: not a birth count line").arg(file).arg(lineNumber));
        if (count > kMostBirths || totals[list] > kMostBirths - count)
            throw AppError(
                QStringLiteral("%1:%2: the births add up to more than a draw can weigh").arg(file).arg(lineNumber));
        totals[list] += count;
        births.m_entries[list].push_back(
            {static_cast<std::uint32_t>(lineStart + tab1 + 1), static_cast<std::uint32_t>(tab2 - tab1 - 1), count});
    }
    if (totals[0] + totals[1] + totals[2] == 0)
        throw AppError(QStringLiteral("%1: no birth counts").arg(file));

    for (int list = 0; list < 3; ++list) {
        // The same name twice in a list counts once, with both counts.
        std::vector<Entry>& entries = births.m_entries[list];
        std::vector<std::uint32_t>& index = births.m_slots[list];
        index.assign(std::bit_ceil(std::max<std::size_t>(2 * entries.size(), 16)), 0);
        std::vector<Entry> kept;
        kept.reserve(entries.size());
        for (const Entry& entry : entries) {
            const QByteArrayView name = text.sliced(entry.from, entry.size);
            std::size_t slot = hashOf(name) & (index.size() - 1);
            for (; index[slot] != 0; slot = (slot + 1) & (index.size() - 1))
                if (text.sliced(kept[index[slot] - 1].from, kept[index[slot] - 1].size) == name)
                    break;
            if (index[slot] != 0) {
                kept[index[slot] - 1].count += entry.count;
                continue;
            }
            kept.push_back(entry);
            index[slot] = static_cast<std::uint32_t>(kept.size());
        }
        entries = std::move(kept);
        for (const Entry& entry : entries)
            births.m_least[list] =
                births.m_least[list] == 0 ? entry.count : std::min(births.m_least[list], entry.count);
    }
    return births;
}

const BirthCounts::Entry* BirthCounts::exactEntry(BirthList list, QByteArrayView name) const {
    const int at = static_cast<int>(list);
    const std::vector<std::uint32_t>& index = m_slots[at];
    if (index.empty())
        return nullptr;
    const QByteArrayView text(m_text);
    for (std::size_t slot = hashOf(name) & (index.size() - 1); index[slot] != 0;
         slot = (slot + 1) & (index.size() - 1)) {
        const Entry& entry = m_entries[at][index[slot] - 1];
        if (text.sliced(entry.from, entry.size) == name)
            return &entry;
    }
    return nullptr;
}

const BirthCounts::Folded& BirthCounts::folded() const {
    if (!m_folded) {
        auto folded = std::make_shared<Folded>();
        const QByteArrayView text(m_text);
        for (int list = 0; list < 3; ++list) {
            for (const Entry& entry : m_entries[list]) {
                const QString name = QString::fromUtf8(text.sliced(entry.from, entry.size));
                const std::uint64_t count = folded->counts[list][exactKeyOf(name)] += entry.count;
                // Of the names that look alike once folded, the most common answers for them.
                std::uint64_t& alike = folded->alike[list][keyOf(name)];
                alike = std::max(alike, count);
            }
        }
        QHash<QString, std::uint64_t> first = folded->counts[0];
        for (auto it = folded->counts[1].cbegin(); it != folded->counts[1].cend(); ++it)
            first[it.key()] += it.value();
        for (const std::uint64_t count : std::as_const(first))
            folded->leastFirst = folded->leastFirst == 0 ? count : std::min(folded->leastFirst, count);
        m_folded = std::move(folded);
    }
    return *m_folded;
}

std::uint64_t BirthCounts::count(BirthList list, const QString& name) const {
    if (const Entry* entry = exactEntry(list, name.toUtf8()))
        return entry->count;
    const int at = static_cast<int>(list);
    const Folded& more = folded();
    if (const auto exact = more.counts[at].constFind(exactKeyOf(name)); exact != more.counts[at].cend())
        return *exact;
    return more.alike[at].value(keyOf(name), 0);
}

std::uint64_t BirthCounts::firstNameCount(const QString& name) const {
    // A name of either list is that name, in one list or both; only a name of neither is folded.
    const QByteArray bytes = name.toUtf8();
    const Entry* male = exactEntry(BirthList::Male, bytes);
    const Entry* female = exactEntry(BirthList::Female, bytes);
    if (male != nullptr || female != nullptr)
        return (male != nullptr ? male->count : 0) + (female != nullptr ? female->count : 0);
    const Folded& more = folded();
    const QString exact = exactKeyOf(name);
    const auto m = more.counts[0].constFind(exact);
    const auto f = more.counts[1].constFind(exact);
    if (m != more.counts[0].cend() || f != more.counts[1].cend())
        return (m != more.counts[0].cend() ? *m : 0) + (f != more.counts[1].cend() ? *f : 0);
    const QString alike = keyOf(name);
    return more.alike[0].value(alike, 0) + more.alike[1].value(alike, 0);
}

std::uint64_t BirthCounts::leastFirstName() const {
    return folded().leastFirst;
}

FirstNameBirths FirstNameBirths::read(NameDatabase& database) {
    FirstNameBirths table;
    QString previous;
    int place = -1;
    for (NameQuery query(database, kAllFirstNameBirths, "firstname"); !query.atEnd(); query.moveNext()) {
        const std::int64_t from = query.integer(2);
        const std::int64_t to = query.integer(3);
        const std::int64_t births = query.integer(4);
        const QString name = query.value();
        if (to < from || from < kFirstRecordedYear || to > kLastRecordedYear || births < 0)
            throw AppError(
                QStringLiteral("system_firstnamebirths: %1 %2-%3: not a count of births").arg(name).arg(from).arg(to));
        // The rows of a name come together: its place is looked up once.
        if (place < 0 || name != previous) {
            const QString key = exactKeyOf(name);
            auto at = table.m_exact.constFind(key);
            if (at == table.m_exact.cend()) {
                at = table.m_exact.insert(key, static_cast<int>(table.m_names.size()));
                table.m_names.emplace_back();
            }
            place = *at;
            previous = name;
        }
        OfName& of = table.m_names[static_cast<std::size_t>(place)];
        const QString sex = query.textAt(1);
        (sex == u"F" ? of.female : of.male)
            .push_back({static_cast<int>(from), static_cast<int>(to), static_cast<std::uint64_t>(births)});
    }
    // The most common of names alike answers for a name that is none of them.
    QHash<QString, std::uint64_t> most;
    for (auto it = table.m_exact.cbegin(); it != table.m_exact.cend(); ++it) {
        const OfName& of = table.m_names[static_cast<std::size_t>(it.value())];
        std::uint64_t total = 0;
        for (const std::vector<Span>* spans : {&of.female, &of.male})
            for (const Span& span : *spans)
                total += span.births;
        const QString alike = keyOf(it.key());
        if (!table.m_alike.contains(alike) || total > most.value(alike)) {
            table.m_alike.insert(alike, it.value());
            most.insert(alike, total);
        }
    }
    return table;
}

const FirstNameBirths::OfName* FirstNameBirths::find(const QString& name) const {
    if (const auto exact = m_exact.constFind(exactKeyOf(name)); exact != m_exact.cend())
        return &m_names[static_cast<std::size_t>(*exact)];
    if (const auto alike = m_alike.constFind(keyOf(name)); alike != m_alike.cend())
        return &m_names[static_cast<std::size_t>(*alike)];
    return nullptr;
}

} // namespace quillory
