#include "peoplewriter.h"

#include "namerecords.h"
#include "workbookoutput.h"

#include "core/apperror.h"
#include "generator/persontext.h"
#include "generator/today.h"

#include <QHash>

#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

#include <unordered_map>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>

namespace quillory {

namespace {

// The addresses given so far, for a run without repeats: each once, in one block of bytes.
class AddressBook {
public:
    /** Adds the address; false when it was given already. */
    bool add(QByteArrayView address) {
        if (2 * (m_ends.size() + 1) > m_index.size())
            grow();
        if (m_ends.size() >= std::numeric_limits<std::uint32_t>::max())
            throw AppError(QStringLiteral("too many addresses to keep apart"));
        std::size_t at = qHash(address, 0) & (m_index.size() - 1);
        for (; m_index[at] != 0; at = (at + 1) & (m_index.size() - 1))
            if (entry(m_index[at] - 1) == address)
                return false;
        m_bytes.append(address);
        m_ends.push_back(static_cast<std::size_t>(m_bytes.size()));
        m_index[at] = static_cast<std::uint32_t>(m_ends.size());
        return true;
    }

private:
    QByteArrayView entry(std::size_t i) const {
        const std::size_t from = i == 0 ? 0 : m_ends[i - 1];
        return QByteArrayView(m_bytes.constData() + from, static_cast<qsizetype>(m_ends[i] - from));
    }
    void grow() {
        m_index.assign(std::max<std::size_t>(64, 4 * m_index.size()), 0);
        for (std::size_t i = 0; i < m_ends.size(); ++i) {
            std::size_t at = qHash(entry(i), 0) & (m_index.size() - 1);
            while (m_index[at] != 0)
                at = (at + 1) & (m_index.size() - 1);
            m_index[at] = static_cast<std::uint32_t>(i + 1);
        }
    }

    QByteArray m_bytes;
    std::vector<std::size_t> m_ends;
    std::vector<std::uint32_t> m_index; // entry + 1; 0 is free
};

// A row copies each text kSpare bytes at a time whatever its length, so that copying takes no branch
// on the length: every table a row copies from ends with kSpare bytes to spare, and every row has as
// much room to spare.
constexpr std::size_t kSpare = 32;

// Texts in one block of bytes, text i at m_starts[i], then kSpare bytes to spare.
class Pieces {
public:
    void append(QByteArrayView bytes) {
        m_bytes.append(bytes);
        if (m_bytes.size() > std::numeric_limits<std::uint32_t>::max() - qsizetype{kSpare})
            throw AppError(QStringLiteral("too many names to write"));
        m_starts.push_back(static_cast<std::uint32_t>(m_bytes.size()));
        m_longest = std::max(m_longest, bytes.size());
    }
    void close() { m_bytes.append(QByteArray(kSpare, '\0')); }

    const char* data(std::size_t i) const { return m_bytes.constData() + m_starts[i]; }
    std::size_t size(std::size_t i) const { return m_starts[i + 1] - m_starts[i]; }
    qsizetype longest() const { return m_longest; }

private:
    QByteArray m_bytes;
    std::vector<std::uint32_t> m_starts{0};
    qsizetype m_longest = 0;
};

// The forms of a pool's names that rows are made of.
enum Form : std::size_t {
    kName,     // as a field: quoted where CSV needs it, a JSON string
    kJoin,     // as a part of the full name: CSV's quotes doubled without the outer ones; JSON's
               // string without the quote on the side the other part goes
    kAscii,    // without accents, as a field
    kInitials, // initials
    kAddress,  // as a part of an address
    kForms
};

enum class Encoding { Csv, Json, Cell };

struct Text {
    const char* data;
    std::size_t size;
};

QByteArray asField(QByteArrayView bytes, Encoding encoding) {
    switch (encoding) {
    case Encoding::Csv:
        return csvField(bytes);
    case Encoding::Json:
        return jsonString(bytes);
    case Encoding::Cell:
        break;
    }
    return bytes.toByteArray();
}

// Makes the forms of one text that the fields need. `side` is the side of the full name the text is
// on: 0 the first, 1 the last.
struct FormMaker {
    Encoding encoding;
    int side;
    bool ascii;
    bool initials;
    bool address;

    FormMaker(Encoding encoding, int side, const std::vector<PersonField>& fields)
        : encoding(encoding), side(side),
          ascii(wants(fields, PersonField::FirstNameAscii) || wants(fields, PersonField::LastNameAscii)),
          initials(wants(fields, PersonField::Initials)), address(wants(fields, PersonField::Email)) {}

    static bool wants(const std::vector<PersonField>& fields, PersonField field) {
        return std::find(fields.begin(), fields.end(), field) != fields.end();
    }

    /** The forms of the text; whether CSV's full name needs quotes for it. */
    bool make(QByteArrayView bytes, std::array<QByteArray, kForms>& form) const {
        const QString text = ascii || initials || address ? QString::fromUtf8(bytes) : QString();
        form[kName] = asField(bytes, encoding);
        // A CSV field that needs no quotes holds none.
        const bool quoted = encoding == Encoding::Csv && form[kName].startsWith('"');
        if (encoding == Encoding::Json)
            form[kJoin] = side == 0 ? form[kName].chopped(1) : form[kName].sliced(1);
        else
            form[kJoin] = quoted ? form[kName].sliced(1).chopped(1) : bytes.toByteArray();
        form[kAscii] = ascii ? asField(asciiFolded(text).toUtf8(), encoding) : QByteArray();
        form[kInitials] = initials ? initialsOf(text).toUtf8() : QByteArray();
        form[kAddress] = address ? addressPart(text) : QByteArray();
        return quoted;
    }
};

// Each name's forms in one record, so that a row reads one place for each of its names: where each
// form starts and the last ends (16-bit numbers from the record's text), whether CSV's full name
// needs quotes, then the forms one after another. The records one after another, then kSpare bytes
// to spare.
//
// A pool too large for a table of its forms beside it (a names file of many megabytes) has each
// text's forms made when a row asks for them instead, the last text's kept: memory stays that of
// the pool itself.
class Forms {
public:
    Forms() = default;
    Forms(const TextTable& texts, const FormMaker& maker) : m_maker(maker) {
        if (texts.size() > kMostInTable || texts.longest() * texts.size() > kMostBytesInTable) {
            m_onDemand = &texts;
            // Every form is at most six bytes for a byte of the text (a JSON escape), and two quotes.
            m_longest = 6 * texts.longest() + 2;
            return;
        }
        std::array<QByteArray, kForms> form;
        for (qsizetype i = 0; i < texts.size(); ++i) {
            const bool quoted = maker.make(texts.bytes(i), form);
            append(form, quoted);
        }
        close();
    }

    Text text(std::uint32_t item, Form form) const {
        const char* record = recordOf(item);
        std::uint16_t from;
        std::uint16_t to;
        std::memcpy(&from, record + 2 * form, 2);
        std::memcpy(&to, record + 2 * (form + 1), 2);
        return {record + kHeader + from, static_cast<std::size_t>(to - from)};
    }
    bool quoted(std::uint32_t item) const { return recordOf(item)[2 * (kForms + 1)] != 0; }
    // Asks the processor for where a record is, then for the record, a few names before it is read.
    void prefetchPlace(std::uint32_t item) const {
        if (m_onDemand == nullptr)
            __builtin_prefetch(&m_records[item]);
    }
    void prefetchRecord(std::uint32_t item) const {
        if (m_onDemand != nullptr)
            return;
        const char* record = m_bytes.constData() + m_records[item];
        __builtin_prefetch(record);
        __builtin_prefetch(record + 63);
    }
    qsizetype longest() const { return m_longest; }

private:
    static constexpr std::size_t kHeader = 2 * (kForms + 2);
    static constexpr qsizetype kMostInTable = qsizetype{1} << 18;
    static constexpr qsizetype kMostBytesInTable = qsizetype{16} << 20;

    const char* recordOf(std::uint32_t item) const {
        if (m_onDemand != nullptr) [[unlikely]]
            return madeRecord(item);
        return m_bytes.constData() + m_records[item];
    }

    // The record of a text of a pool made on demand: made again only for another text.
    [[gnu::noinline]] const char* madeRecord(std::uint32_t item) const {
        if (item != m_madeItem) {
            std::array<QByteArray, kForms> form;
            const bool quoted = m_maker.make(m_onDemand->bytes(item), form);
            m_bytes.clear();
            m_records.clear();
            const qsizetype longest = m_longest;
            append(form, quoted);
            close();
            m_longest = longest;
            m_madeItem = item;
        }
        return m_bytes.constData();
    }

    void append(const std::array<QByteArray, kForms>& forms, bool quoted) const {
        std::array<std::uint16_t, kHeader / 2> header{};
        std::size_t size = 0;
        for (std::size_t form = 0; form < kForms; ++form) {
            header[form] = static_cast<std::uint16_t>(size);
            size += static_cast<std::size_t>(forms[form].size());
            m_longest = std::max(m_longest, forms[form].size());
        }
        if (size > std::numeric_limits<std::uint16_t>::max())
            throw AppError(QStringLiteral("a name is too long to write"));
        header[kForms] = static_cast<std::uint16_t>(size);
        header[kForms + 1] = quoted ? 1 : 0;
        if (m_bytes.size() + qsizetype{kHeader} + static_cast<qsizetype>(size) >
            std::numeric_limits<std::uint32_t>::max() - qsizetype{kSpare})
            throw AppError(QStringLiteral("too many names to write"));
        m_records.push_back(static_cast<std::uint32_t>(m_bytes.size()));
        m_bytes.append(reinterpret_cast<const char*>(header.data()), kHeader);
        for (const QByteArray& form : forms)
            m_bytes.append(form);
    }
    void close() const { m_bytes.append(QByteArray(kSpare, '\0')); }

    FormMaker m_maker{Encoding::Csv, 0, {}};
    const TextTable* m_onDemand = nullptr;
    // The table, or the one record made last for a pool made on demand.
    mutable QByteArray m_bytes;
    mutable std::vector<std::uint32_t> m_records;
    mutable qsizetype m_longest = 0;
    mutable std::uint32_t m_madeItem = 0xFFFFFFFF;
};

// A text of the places as a row writes it, into `field`: folded to ASCII if asked, then its inner
// form (CSV's quotes doubled, a JSON string's escapes, without the outer quotes, which the row
// puts); whether CSV needs quotes around it.
bool innerForm(std::string_view source, Encoding encoding, bool ascii, QByteArray& field) {
    QByteArray bytes(source.data(), static_cast<qsizetype>(source.size()));
    if (ascii)
        bytes = asciiFolded(QString::fromUtf8(bytes)).toUtf8();
    field = asField(bytes, encoding);
    const bool quoted = encoding != Encoding::Cell && field.startsWith('"');
    if (quoted)
        field = field.sliced(1).chopped(1);
    return quoted;
}

// The texts of the places as rows write them: each one's inner form (CSV's quotes doubled, a JSON
// string's escapes, without the outer quotes, which the row puts) and whether CSV needs quotes. Each
// is made the first time a row asks for it, so that a short run makes few; the bytes end with kSpare
// to spare, as a row's tables do.
class PlaceTexts {
public:
    PlaceTexts() = default;
    PlaceTexts(Encoding encoding, bool ascii, std::vector<std::string_view> sources)
        : m_encoding(encoding), m_ascii(ascii), m_sources(std::move(sources)), m_made(m_sources.size(), 0),
          m_bytes(kSpare, '\0') {
        for (const std::string_view source : m_sources)
            m_longest = std::max(m_longest, static_cast<qsizetype>(source.size()));
        // A JSON escape takes at most six bytes for one; a folded letter at most two.
        m_longest = 6 * (m_ascii ? 2 : 1) * m_longest;
    }

    Text inner(std::size_t i) const {
        const Made made = madeOf(i);
        return {m_bytes.constData() + made.start, made.size};
    }
    bool quoted(std::size_t i) const { return madeOf(i).quoted; }
    // First where a text is, then (once that has come) the text itself.
    void prefetchPlace(std::size_t i) const {
        if (i < m_made.size())
            __builtin_prefetch(&m_made[i]);
    }
    void prefetchText(std::size_t i) const {
        if (i < m_made.size() && m_made[i] != 0)
            __builtin_prefetch(m_bytes.constData() + (m_made[i] >> 32));
    }
    /** The longest a text can be once made. */
    qsizetype longest() const { return m_longest; }

private:
    struct Made {
        std::uint32_t start;
        std::uint32_t size;
        bool quoted;
    };

    Made madeOf(std::size_t i) const {
        const std::uint64_t made = m_made[i];
        if (made == 0) [[unlikely]]
            return make(i);
        return {static_cast<std::uint32_t>(made >> 32), static_cast<std::uint32_t>(made & 0x7FFFFFFF),
                (made & 0x80000000) != 0};
    }
    Made make(std::size_t i) const {
        QByteArray field;
        const bool quoted = innerForm(m_sources[i], m_encoding, m_ascii, field);
        const auto start = static_cast<std::uint32_t>(m_bytes.size() - qsizetype{kSpare});
        m_bytes.chop(kSpare);
        m_bytes.append(field).append(QByteArray(kSpare, '\0'));
        if (m_bytes.size() > 0x7FFFFFFF)
            throw AppError(QStringLiteral("too many places to write"));
        const Made made{start, static_cast<std::uint32_t>(field.size()), quoted};
        m_made[i] = (std::uint64_t{made.start} << 32) | made.size | (quoted ? 0x80000000u : 0u);
        return made;
    }

    Encoding m_encoding = Encoding::Csv;
    bool m_ascii = false;
    std::vector<std::string_view> m_sources;
    // Per text: where it starts (high half), whether it is quoted (bit 31) and its size; 0 when not made.
    mutable std::vector<std::uint64_t> m_made;
    mutable QByteArray m_bytes;
    qsizetype m_longest = 0;
};

// Each commune as rows write it, in one record: its code, its département, its postcodes, its name
// and the name an address carries (each as PlaceTexts makes its texts). A row then reads one record
// for each of its communes, where the communes' table and the texts they point to lie far apart and
// a row would wait on each. Made the first time a row asks for it; the bytes end with kSpare to spare.
class CommuneTexts {
public:
    CommuneTexts() = default;
    CommuneTexts(Encoding encoding, bool ascii, std::shared_ptr<const Places> places)
        : m_encoding(encoding), m_ascii(ascii), m_places(std::move(places)), m_at(m_places->communes().size(), 0),
          m_bytes(kSpare, '\0') {
        qsizetype longest = 0;
        for (const Places::Commune& commune : m_places->communes())
            longest = std::max(
                {longest, static_cast<qsizetype>(commune.name.size()), static_cast<qsizetype>(commune.city.size())});
        // A JSON escape takes at most six bytes for one; a folded letter at most two.
        m_longest = 6 * (m_ascii ? 2 : 1) * longest;
    }

    // A commune's record: the header, its postcodes five digits each, its name, its city.
    struct Record {
        const char* at;

        const char* code() const { return at; } // five characters
        std::uint16_t department() const { return field(kDepartment); }
        const char* postcode(unsigned n) const { return at + kHeader + 5 * n; }
        Text name() const { return {postcode(postcodeCount()), field(kNameSize)}; }
        bool nameQuoted() const { return (flags() & 1) != 0; }
        Text city() const { return {name().data + field(kNameSize), field(kCitySize)}; }
        bool cityQuoted() const { return (flags() & 2) != 0; }

    private:
        unsigned postcodeCount() const { return static_cast<unsigned char>(at[kCount]); }
        unsigned flags() const { return static_cast<unsigned char>(at[kFlags]); }
        std::uint16_t field(std::size_t offset) const {
            std::uint16_t value;
            std::memcpy(&value, at + offset, 2);
            return value;
        }
    };

    Record operator[](std::size_t i) const {
        std::uint32_t at = m_at[i];
        // Made before the bytes are read: making one may move them.
        if (at == 0) [[unlikely]]
            at = make(i);
        return {m_bytes.constData() + at};
    }
    // First where a record is, then (once that has come) the record itself.
    void prefetchPlace(std::size_t i) const { __builtin_prefetch(&m_at[i]); }
    void prefetchRecord(std::size_t i) const {
        if (const std::uint32_t at = m_at[i]; at != 0) {
            __builtin_prefetch(m_bytes.constData() + at);
            __builtin_prefetch(m_bytes.constData() + at + 63);
        }
    }
    /** The longest a name or a city can be once made. */
    qsizetype longest() const { return m_longest; }

private:
    static constexpr std::size_t kCount = 5;      // how many postcodes (a byte)
    static constexpr std::size_t kDepartment = 6; // its place in Places::departments()
    static constexpr std::size_t kNameSize = 8;
    static constexpr std::size_t kCitySize = 10;
    static constexpr std::size_t kFlags = 12; // 1: the name is quoted in CSV, 2: the city
    static constexpr std::size_t kHeader = 13;

    std::uint32_t make(std::size_t i) const {
        const Places::Commune& commune = m_places->communes()[i];
        QByteArray name;
        QByteArray city;
        const bool nameQuoted = innerForm(commune.name, m_encoding, m_ascii, name);
        const bool cityQuoted = innerForm(commune.city, m_encoding, m_ascii, city);
        std::array<char, kHeader> header{};
        std::memcpy(header.data(), commune.code.data(), 5);
        header[kCount] = static_cast<char>(commune.postcodeCount);
        const auto put16 = [&](std::size_t offset, std::size_t value) {
            const auto narrow = static_cast<std::uint16_t>(value);
            std::memcpy(header.data() + offset, &narrow, 2);
        };
        put16(kDepartment, commune.department);
        put16(kNameSize, static_cast<std::size_t>(name.size()));
        put16(kCitySize, static_cast<std::size_t>(city.size()));
        header[kFlags] = static_cast<char>((nameQuoted ? 1 : 0) | (cityQuoted ? 2 : 0));
        const auto at = static_cast<std::uint32_t>(m_bytes.size() - qsizetype{kSpare});
        m_bytes.chop(kSpare);
        m_bytes.append(header.data(), kHeader);
        for (unsigned n = 0; n < commune.postcodeCount; ++n)
            m_bytes.append(Places::postcode(commune, n).data(), 5);
        m_bytes.append(name).append(city).append(QByteArray(kSpare, '\0'));
        if (m_bytes.size() > 0x7FFFFFFF)
            throw AppError(QStringLiteral("too many places to write"));
        m_at[i] = at;
        return at;
    }

    Encoding m_encoding = Encoding::Csv;
    bool m_ascii = false;
    std::shared_ptr<const Places> m_places;
    // Per commune: where its record starts in m_bytes; 0 when not made (no record starts there).
    mutable std::vector<std::uint32_t> m_at;
    mutable QByteArray m_bytes;
    qsizetype m_longest = 0;
};

// The social security numbers given in a run without repeats: for each beginning (sex, year, month
// and place of birth), which order numbers are taken.
class NirBook {
public:
    /** The order number to give from `wanted` upward, cycling; none when all 999 are taken. */
    std::optional<int> take(std::uint64_t beginning, int wanted) {
        std::array<std::uint64_t, 16>& taken = m_taken[beginning];
        for (int tried = 0; tried < 999; ++tried) {
            const int order = (wanted - 1 + tried) % 999 + 1;
            std::uint64_t& word = taken[static_cast<std::size_t>(order / 64)];
            const std::uint64_t bit = std::uint64_t{1} << (order % 64);
            if ((word & bit) == 0) {
                word |= bit;
                return order;
            }
        }
        return std::nullopt;
    }

private:
    std::unordered_map<std::uint64_t, std::array<std::uint64_t, 16>> m_taken;
};

// The fiction blocks of the numbering plan (Arcep decision 2018-0881) by telephone zone 1 to 5, then
// the mobiles' (06 39 98): the four digits after the zone's first.
constexpr char kFictionBlocks[6][5] = {"9900", "6191", "5301", "6571", "3649", "3998"};

constexpr char kTwoDigits[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                              "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                              "8081828384858687888990919293949596979899";

// Appends to a row of bytes made in place, as a line of names is.
struct Row {
    char* at;

    // From a table with kSpare bytes to spare.
    void put(const char* from, std::size_t size) {
        std::memcpy(at, from, kSpare);
        if (size > kSpare) [[unlikely]]
            std::memcpy(at, from, size);
        at += size;
    }
    void put(Text text) { put(text.data, text.size); }
    void putExactly(QByteArrayView bytes) {
        std::memcpy(at, bytes.data(), static_cast<std::size_t>(bytes.size()));
        at += bytes.size();
    }
    void put(char c) { *at++ = c; }
    void putIf(char c, bool wanted) {
        *at = c;
        at += wanted ? 1 : 0;
    }
    void twoDigits(int number) {
        std::memcpy(at, kTwoDigits + 2 * number, 2);
        at += 2;
    }
    // At least four digits.
    void year(int year) {
        if (year >= 1000 && year <= 9999) {
            twoDigits(year / 100);
            twoDigits(year % 100);
            return;
        }
        const QByteArray digits = QByteArray::number(year).rightJustified(4, '0');
        putExactly(digits);
    }
};

class FieldsWriter final : public PeopleWriter {
public:
    FieldsWriter(const PeopleRecords& records, const TextTable& first, const TextTable& last,
                 std::vector<NameBirthSpans> births, std::unique_ptr<ByteSink> sink, std::vector<std::uint32_t> placeOf,
                 std::function<std::uint32_t(QByteArrayView)> placeOfText)
        : m_fields(records.fields), m_unique(records.uniqueAddresses),
          m_encoding(records.format == RecordFormat::JsonLines ? Encoding::Json
                     : records.format == RecordFormat::Csv     ? Encoding::Csv
                                                               : Encoding::Cell),
          m_withFirst(records.withFirst), m_withLast(records.withLast), m_personWithName(records.personWithName),
          m_titledFrom18On(records.titledFrom18On), m_people(records.rules, std::move(births), std::move(placeOf)),
          m_sink(std::move(sink)), m_firstTexts(first), m_placeOfText(std::move(placeOfText)), m_values(records.values),
          m_sequence(RandomSource::second(records.seed)), m_third(RandomSource::third(records.seed)) {
        for (const PersonField field : m_fields) {
            const bool first = field == PersonField::FirstName || field == PersonField::FirstNameAscii;
            const bool last = field == PersonField::LastName || field == PersonField::LastNameAscii;
            if ((first && !m_withFirst) || (last && !m_withLast))
                throw AppError(
                    QStringLiteral("%1: the names drawn have no such part").arg(QLatin1String(fieldName(field))));
        }
        m_first = Forms(first, FormMaker(m_encoding, 0, m_fields));
        m_last = Forms(last, FormMaker(m_encoding, 1, m_fields));
        makeFixedTexts();
        m_wantsPlaces = std::any_of(m_fields.begin(), m_fields.end(),
                                    [](PersonField field) { return field >= PersonField::BirthPlace; });
        if (needsPlaces(m_fields)) {
            if (!records.places)
                throw AppError(QStringLiteral("no places to draw from"));
            makePlaceTexts(records.places, records.ascii);
        }
        // The longest row: each field at its longest, with what goes before it.
        const qsizetype longestName = m_first.longest() + m_last.longest();
        m_longestRow = qsizetype{kSpare} + m_fixed.longest() + 2;
        const qsizetype longestPlace = 2 * m_communes.longest() + m_streets.longest() + m_departmentCodes.longest();
        for (std::size_t i = 0; i < m_fields.size(); ++i)
            m_longestRow += m_fixed.longest() + 2 * longestName + longestPlace + 64;
        if (m_longestRow > ByteSink::kRoom)
            throw AppError(QStringLiteral("a name is too long to write"));
        if (records.format == RecordFormat::Values) {
            if (m_values == nullptr)
                throw AppError(QStringLiteral("no place for the values"));
            m_cell.resize(static_cast<std::size_t>(m_longestRow));
        } else if (m_encoding == Encoding::Cell) {
            m_book = std::make_unique<NamesWorkbook>(records.workbook, NamesWorkbook::Placement::Replacing, true,
                                                     static_cast<int>(m_fields.size()));
            for (std::size_t column = 0; column < m_fields.size(); ++column)
                m_book->write(0, static_cast<int>(column), QString::fromLatin1(fieldName(m_fields[column])));
            m_row = 1;
            m_cell.resize(static_cast<std::size_t>(m_longestRow));
        } else if (m_encoding == Encoding::Csv) {
            QByteArray header;
            for (std::size_t i = 0; i < m_fields.size(); ++i)
                header.append(i == 0 ? "" : ",").append(fieldName(m_fields[i]));
            m_sink->append(header + "\r\n");
        }
    }

    ~FieldsWriter() override { stopFormatting(); }

    // The names are taken a few at a time, so that what each one's person and places read is fetched
    // while the ones before it are drawn. The rows are made from blocks of drawn people, on a thread
    // of their own while the next block is drawn (a workbook's in line), in the order the names come.
    void write(DrawnName name) override {
        if (m_wantsPlaces) {
            PlaceDraw::take(m_third, m_waitingNumbers[m_waitingCount]);
            if (m_placeDraw)
                m_placeDraw->prefetch(m_waitingNumbers[m_waitingCount]);
        }
        m_waiting[m_waitingCount++] = name;
        if (m_withFirst && !m_placeOfText && !m_personWithName)
            m_people.prefetchPlace(name.first);
        if (m_waitingCount == m_waiting.size())
            drawWaiting();
    }

    void flush() override {
        finishRows();
        if (m_sink)
            m_sink->flush();
    }

    void skip(std::uint64_t count) override {
        finishRows();
        for (std::uint64_t i = 0; i < count; ++i) {
            // What write() and drawPerson() take for a record: the place's numbers, the person's.
            if (m_wantsPlaces)
                PlaceDraw::take(m_third, m_waitingNumbers[0]);
            if (!m_personWithName)
                PersonDraw::pass(m_sequence);
        }
    }

    void finish() override {
        finishRows();
        if (m_book) {
            m_book->fitColumns();
            m_book->finish();
            return;
        }
        if (m_sink)
            m_sink->finish();
    }

private:
    // Every name written so far made into rows, in order.
    void finishRows() {
        drawWaiting();
        if (m_formatter.joinable()) {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [&] { return !m_handedOver || m_failure; });
            lock.unlock();
            stopFormatting();
        }
        if (m_failure)
            std::rethrow_exception(m_failure);
        formatBlock(m_block);
        m_block.clear();
    }

    // Texts that are the same in every row, by their place in m_fixed.
    enum Fixed : std::size_t {
        kUnknown,    // a value not known: JSON's null, else nothing
        kSex,        // kSex + 1: F, kSex + 2: M
        kTitle = 4,  // kTitle + 1: Mme, kTitle + 2: M.
        kDomain = 7, // three: @ and the domain, and the closing quote in JSON
        kRowEnd = 10,
        kLeads = 11, // what goes before each field: a comma, and its name in JSON
    };

    void makeFixedTexts() {
        const bool json = m_encoding == Encoding::Json;
        const auto quoted = [&](QByteArrayView text) {
            return json ? QByteArray("\"").append(text).append('"') : text.toByteArray();
        };
        const QByteArray unknown = json ? "null" : "";
        m_fixed.append(unknown);
        for (const char* text : {"", "F", "M"})
            m_fixed.append(*text != 0 ? quoted(text) : unknown);
        for (const char* text : {"", "Mme", "M."})
            m_fixed.append(*text != 0 ? quoted(text) : unknown);
        for (const char* domain : kExampleDomains)
            m_fixed.append(QByteArray("@").append(domain).append(json ? "\"" : ""));
        m_fixed.append(json ? "}\n" : m_encoding == Encoding::Csv ? "\r\n" : "");
        for (std::size_t i = 0; i < m_fields.size(); ++i) {
            QByteArray lead =
                json ? QByteArray(i == 0 ? "{" : ",").append('"').append(fieldName(m_fields[i])).append("\":")
                : m_encoding == Encoding::Csv && i > 0 ? QByteArray(",")
                                                       : QByteArray();
            m_fixed.append(lead);
        }
        m_fixed.close();
    }

    void makePlaceTexts(std::shared_ptr<const Places> places, bool ascii) {
        m_placeDraw.emplace(places);
        std::vector<std::string_view> codes;
        for (std::size_t i = 0; i < places->departmentCount(); ++i)
            codes.push_back(places->department(i).code);
        m_communes = CommuneTexts(m_encoding, ascii, places);
        m_streets = PlaceTexts(m_encoding, ascii, streetNames());
        m_departmentCodes = PlaceTexts(m_encoding, false, std::move(codes));
    }

    void fixed(Row& row, std::size_t text) const { row.put(m_fixed.data(text), m_fixed.size(text)); }

    // A text of the places as a field: quoted as its encoding needs.
    void placeText(Row& row, const PlaceTexts& texts, std::size_t i) const {
        placeText(row, texts.inner(i), texts.quoted(i));
    }
    void placeText(Row& row, Text inner, bool csvQuoted) const {
        const bool quoted = m_encoding == Encoding::Json || csvQuoted;
        row.putIf('"', quoted);
        row.put(inner);
        row.putIf('"', quoted);
    }
    // Up to three digits.
    static void number(Row& row, int n) {
        row.putIf(static_cast<char>('0' + n / 100), n >= 100);
        row.putIf(static_cast<char>('0' + n / 10 % 10), n >= 10);
        row.put(static_cast<char>('0' + n % 10));
    }
    // A telephone number: 0Z BB BB DD DD, or +33 Z BB BB DD DD; `block` is 0 to 4 for the zones 1 to 5, 5 for mobiles.
    void telephone(Row& row, int block, int digits, bool international) const {
        const bool json = m_encoding == Encoding::Json;
        row.putIf('"', json);
        const char zone = block == 5 ? '6' : static_cast<char>('1' + block);
        if (international) {
            row.putExactly("+33 ");
        } else {
            row.put('0');
        }
        row.put(zone);
        const char* fiction = kFictionBlocks[block];
        row.put(' ');
        row.put(fiction[0]);
        row.put(fiction[1]);
        row.put(' ');
        row.put(fiction[2]);
        row.put(fiction[3]);
        row.put(' ');
        row.twoDigits(digits / 100);
        row.put(' ');
        row.twoDigits(digits % 100);
        row.putIf('"', json);
    }
    int zoneBlock(CommuneTexts::Record home) const {
        return m_placeDraw->places().department(home.department()).zone - '1';
    }

    // The social security number of a person born in that commune: sex, year, month, département and
    // commune, order number and key; none without a sex or a day of birth.
    void nir(Row& row, const Person& person, const PlaceOfPerson& place) {
        if (person.sex == 0 || person.year == 0)
            return fixed(row, kUnknown);
        const char* code = m_communes[place.birth].code();
        std::array<char, 15> digits{};
        digits[0] = person.sex == 'M' ? '1' : '2';
        const int year = ((person.year % 100) + 100) % 100;
        digits[1] = static_cast<char>('0' + year / 10);
        digits[2] = static_cast<char>('0' + year % 10);
        digits[3] = static_cast<char>('0' + person.month / 10);
        digits[4] = static_cast<char>('0' + person.month % 10);
        std::memcpy(&digits[5], code, 5);
        // Corsica was one département, 20, until 1976, and a number never changes.
        const bool corsica = code[0] == '2' && (code[1] == 'A' || code[1] == 'B');
        const bool before1976 = corsica && person.year < 1976;
        if (before1976)
            digits[6] = '0';
        int order = place.order;
        if (m_unique) {
            const std::uint64_t beginning = (std::uint64_t{place.birth} << 16) | (std::uint64_t(year) << 8) |
                                            (std::uint64_t(person.month) << 2) | (before1976 ? 2u : 0u) |
                                            (person.sex == 'M' ? 1u : 0u);
            const std::optional<int> free = m_nirs.take(beginning, order);
            if (!free)
                throw AppError(QStringLiteral("all 999 social security numbers beginning %1 are given: too many people "
                                              "of one sex born in one commune in one month")
                                   .arg(QLatin1String(digits.data(), 10)));
            order = *free;
        }
        digits[10] = static_cast<char>('0' + order / 100);
        digits[11] = static_cast<char>('0' + order / 10 % 10);
        digits[12] = static_cast<char>('0' + order % 10);
        // The key: 97 − (the thirteen digits mod 97), 2A and 2B counting as 19 and 18.
        std::uint64_t number = 0;
        for (std::size_t i = 0; i < 13; ++i) {
            if (i == 5 && (digits[6] == 'A' || digits[6] == 'B')) {
                number = number * 100 + (digits[6] == 'A' ? 19 : 18);
                ++i;
                continue;
            }
            number = number * 10 + static_cast<std::uint64_t>(digits[i] - '0');
        }
        const int key = static_cast<int>(97 - number % 97);
        digits[13] = static_cast<char>('0' + key / 10);
        digits[14] = static_cast<char>('0' + key % 10);
        const bool json = m_encoding == Encoding::Json;
        row.putIf('"', json);
        row.putExactly(QByteArrayView(digits.data(), 15));
        row.putIf('"', json);
    }
    void first(Row& row, std::uint32_t item, Form form) const { row.put(m_first.text(item, form)); }
    void last(Row& row, std::uint32_t item, Form form) const { row.put(m_last.text(item, form)); }

    // A name with the person and the places drawn for it: what its row is made of.
    struct Drawn {
        DrawnName name;
        Person person;
        PlaceOfPerson place;
    };
    static constexpr std::size_t kBlock = 4096;

    // The person and the places of each name waiting, their tables fetched by now, into the block.
    void drawWaiting() {
        for (std::size_t i = 0; m_withFirst && !m_placeOfText && !m_personWithName && i < m_waitingCount; ++i)
            m_people.prefetchPeriods(m_waiting[i].first);
        for (std::size_t i = 0; i < m_waitingCount; ++i) {
            Drawn drawn{m_waiting[i], drawPerson(m_waiting[i]), {}};
            if (m_wantsPlaces)
                drawn.place = m_placeDraw ? m_placeDraw->placeOf(m_waitingNumbers[i])
                                          : PlaceDraw::withoutPlaces(m_waitingNumbers[i]);
            m_block.push_back(drawn);
            if (m_block.size() == kBlock)
                handOver();
        }
        m_waitingCount = 0;
    }

    Person drawPerson(DrawnName name) {
        if (m_personWithName) {
            const QDate born = QDate::fromJulianDay(name.born);
            return {name.sex, born.year(), born.month(), born.day(), name.domain};
        }
        std::optional<std::uint32_t> births;
        if (m_withFirst)
            births = m_placeOfText ? m_placeOfText(m_firstTexts.bytes(name.first)) : name.first;
        return m_people.draw(births, m_sequence);
    }

    // A full block to be made into rows: by the thread that makes them, once it has made the last
    // one (started with the first block, so that a short run starts none); a workbook's here.
    void handOver() {
        if (m_book || m_values) {
            formatBlock(m_block);
            m_block.clear();
            return;
        }
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return !m_handedOver || m_failure; });
        if (m_failure)
            std::rethrow_exception(m_failure);
        std::swap(m_block, m_handed);
        m_handedOver = true;
        lock.unlock();
        m_changed.notify_all();
        m_block.clear();
        if (!m_formatter.joinable())
            m_formatter = std::thread([this] { formatHanded(); });
    }

    void formatHanded() {
        for (;;) {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [&] { return m_handedOver || m_stopping; });
            if (m_stopping)
                return;
            lock.unlock();
            std::exception_ptr failure;
            try {
                formatBlock(m_handed);
            } catch (...) {
                failure = std::current_exception();
            }
            lock.lock();
            m_failure = failure;
            m_handedOver = false;
            lock.unlock();
            m_changed.notify_all();
            if (failure)
                return;
        }
    }

    // Ends the thread that makes rows, whatever it was handed and has not begun.
    void stopFormatting() noexcept {
        if (!m_formatter.joinable())
            return;
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_changed.notify_all();
        m_formatter.join();
    }

    // The rows of drawn people. What a row reads is fetched in two steps ahead of it, where its
    // texts are and then the texts, so that each step has come by the time the next one reads it.
    void formatBlock(const std::vector<Drawn>& block) {
        constexpr std::size_t kAhead = 16;
        const std::size_t size = block.size();
        for (std::size_t i = 0; i < std::min(size, kAhead); ++i)
            prefetchPlaces(block[i]);
        for (std::size_t i = 0; i < size; ++i) {
            if (i + 2 * kAhead < size)
                prefetchPlaces(block[i + 2 * kAhead]);
            if (i + kAhead < size)
                prefetchTexts(block[i + kAhead]);
            writeRow(block[i].name, block[i].person, block[i].place);
        }
    }
    void prefetchPlaces(const Drawn& drawn) const {
        if (m_withFirst)
            m_first.prefetchPlace(drawn.name.first);
        if (m_withLast)
            m_last.prefetchPlace(drawn.name.last);
        if (m_placeDraw) {
            m_communes.prefetchPlace(drawn.place.birth);
            m_communes.prefetchPlace(drawn.place.home);
            m_streets.prefetchPlace(drawn.place.street);
        }
    }
    void prefetchTexts(const Drawn& drawn) const {
        if (m_withFirst)
            m_first.prefetchRecord(drawn.name.first);
        if (m_withLast)
            m_last.prefetchRecord(drawn.name.last);
        if (m_placeDraw) {
            m_communes.prefetchRecord(drawn.place.birth);
            m_communes.prefetchRecord(drawn.place.home);
            m_streets.prefetchText(drawn.place.street);
        }
    }

    void writeRow(DrawnName name, const Person& person, const PlaceOfPerson& place) {
        if (m_book || m_values) {
            writeCells(name, person, place);
            return;
        }
        Row row{m_sink->room(m_longestRow)};
        for (std::size_t i = 0; i < m_fields.size(); ++i) {
            fixed(row, kLeads + i);
            put(row, m_fields[i], name, person, place);
        }
        fixed(row, kRowEnd);
        m_sink->advance(row.at);
    }

    // The age from which a person is addressed as Madame or Monsieur.
    static constexpr int kAdult = 18;

    static std::size_t sexIndex(char sex) { return sex == 'F' ? 1 : sex == 'M' ? 2 : 0; }

    // Inlined into the loop over the fields, which is what a row spends its time on.
    [[gnu::always_inline]] void put(Row& row, PersonField field, DrawnName name, const Person& person,
                                    const PlaceOfPerson& place) {
        const bool json = m_encoding == Encoding::Json;
        switch (field) {
        case PersonField::FirstName:
            return first(row, name.first, kName);
        case PersonField::LastName:
            return last(row, name.last, kName);
        case PersonField::FirstNameAscii:
            return first(row, name.first, kAscii);
        case PersonField::LastNameAscii:
            return last(row, name.last, kAscii);
        case PersonField::FullName: {
            if (!m_withLast)
                return first(row, name.first, kName);
            if (!m_withFirst)
                return last(row, name.last, kName);
            const bool quoted = m_first.quoted(name.first) || m_last.quoted(name.last);
            row.putIf('"', quoted);
            first(row, name.first, kJoin);
            row.put(' ');
            last(row, name.last, kJoin);
            row.putIf('"', quoted);
            return;
        }
        case PersonField::Initials:
            row.putIf('"', json);
            if (m_withFirst)
                first(row, name.first, kInitials);
            row.putIf(' ', m_withFirst && m_withLast);
            if (m_withLast)
                last(row, name.last, kInitials);
            row.putIf('"', json);
            return;
        case PersonField::Sex:
            return fixed(row, kSex + sexIndex(person.sex));
        case PersonField::Title:
            if (m_titledFrom18On && person.year != 0 &&
                ageOn(QDate(person.year, person.month, person.day), *m_titledFrom18On) < kAdult)
                return fixed(row, kTitle);
            return fixed(row, kTitle + sexIndex(person.sex));
        case PersonField::BirthYear:
            if (person.year == 0)
                return fixed(row, kUnknown);
            return row.year(person.year);
        case PersonField::BirthDate:
            if (person.year == 0)
                return fixed(row, kUnknown);
            row.putIf('"', json);
            row.year(person.year);
            row.put('-');
            row.twoDigits(person.month);
            row.put('-');
            row.twoDigits(person.day);
            row.putIf('"', json);
            return;
        case PersonField::Email:
            row.putIf('"', json);
            if (m_unique) {
                row.putExactly(uniqueAddress(name, person));
                row.putIf('"', json);
                return;
            }
            putLocalPart(row, name);
            return fixed(row, kDomain + static_cast<std::size_t>(person.domain));
        default:
            return putPlace(row, field, person, place);
        }
    }

    // The fields of the places, out of line: rows without them never come here.
    void putPlace(Row& row, PersonField field, const Person& person, const PlaceOfPerson& place) {
        // The mobile's numbers need no places (and a run of them alone reads none).
        if (field == PersonField::Mobile || field == PersonField::MobileInternational)
            return telephone(row, 5, place.mobile, field == PersonField::MobileInternational);
        const bool json = m_encoding == Encoding::Json;
        // Each commune's record read only by the fields that need it.
        const auto born = [&] { return m_communes[place.birth]; };
        const auto home = [&] { return m_communes[place.home]; };
        const auto street = [&] {
            number(row, place.number);
            row.put(' ');
            row.put(m_streets.inner(place.street));
        };
        const auto postcode = [&] { row.putExactly(QByteArrayView(home().postcode(place.postcode), 5)); };
        switch (field) {
        case PersonField::BirthPlace:
            return placeText(row, born().name(), born().nameQuoted());
        case PersonField::BirthDepartment:
            return placeText(row, m_departmentCodes, born().department());
        case PersonField::Street: {
            const bool quoted = json || m_streets.quoted(place.street);
            row.putIf('"', quoted);
            street();
            row.putIf('"', quoted);
            return;
        }
        case PersonField::Postcode:
            row.putIf('"', json);
            postcode();
            row.putIf('"', json);
            return;
        case PersonField::City:
            return placeText(row, home().city(), home().cityQuoted());
        case PersonField::Department:
            return placeText(row, m_departmentCodes, home().department());
        case PersonField::Address:
            // Its comma makes CSV quote it.
            row.putIf('"', m_encoding != Encoding::Cell);
            street();
            row.put(',');
            row.put(' ');
            postcode();
            row.put(' ');
            row.put(home().city());
            row.putIf('"', m_encoding != Encoding::Cell);
            return;
        case PersonField::Phone:
            return telephone(row, zoneBlock(home()), place.phone, false);
        case PersonField::PhoneInternational:
            return telephone(row, zoneBlock(home()), place.phone, true);
        case PersonField::Mobile:
            return telephone(row, 5, place.mobile, false);
        case PersonField::MobileInternational:
            return telephone(row, 5, place.mobile, true);
        case PersonField::Nir:
            return nir(row, person, place);
        default:
            return;
        }
    }

    // prenom.nom, the part of an address before its @.
    void putLocalPart(Row& row, DrawnName name) const {
        const Text first = m_withFirst ? m_first.text(name.first, kAddress) : Text{};
        const Text last = m_withLast ? m_last.text(name.last, kAddress) : Text{};
        if (first.size != 0)
            row.put(first);
        row.putIf('.', first.size != 0 && last.size != 0);
        if (last.size != 0)
            row.put(last);
        if (first.size == 0 && last.size == 0) [[unlikely]]
            row.putExactly("prenom");
    }

    // prenom.nom@domain, with the smallest number from 2 that makes it an address not given yet. An
    // address that clashed keeps the number to try next: every number below it was given then and
    // stays given, so each row tries about one number, however often its address clashes.
    QByteArrayView uniqueAddress(DrawnName name, const Person& person) {
        m_address.resize(m_longestRow);
        Row local{m_address.data()};
        putLocalPart(local, name);
        m_address.truncate(local.at - m_address.constData());
        const qsizetype localSize = m_address.size();
        const char* domain = kExampleDomains[person.domain];
        m_address.append('@').append(domain);
        if (m_addresses.add(m_address))
            return m_address;
        int& next = m_nextNumber[m_address];
        for (int n = std::max(next, 2);; ++n) {
            m_address.truncate(localSize);
            m_address.append(QByteArray::number(n)).append('@').append(domain);
            if (m_addresses.add(m_address)) {
                next = n + 1;
                return m_address;
            }
        }
    }

    // What makes a value the same text in every record it is in, when that is known at once: 0 else.
    std::uint64_t identityOf(PersonField field, DrawnName name, const Person& person,
                             const PlaceOfPerson& place) const {
        switch (field) {
        case PersonField::FirstName:
        case PersonField::FirstNameAscii:
            return m_withFirst ? std::uint64_t{name.first} + 1 : 0;
        case PersonField::LastName:
        case PersonField::LastNameAscii:
            return m_withLast ? std::uint64_t{name.last} + 1 : 0;
        case PersonField::Sex:
            return static_cast<unsigned char>(person.sex);
        case PersonField::BirthDate:
            return person.year > 0 ? (std::uint64_t(person.year) << 9 | std::uint64_t(person.month) << 5 |
                                      std::uint64_t(person.day))
                                   : 0;
        case PersonField::BirthPlace:
            return m_placeDraw ? std::uint64_t{place.birth} + 1 : 0;
        case PersonField::City:
            return m_placeDraw ? std::uint64_t{place.home} + 1 : 0;
        default:
            return 0;
        }
    }

    // A workbook's row, a field a cell, each as it is (the year a number); a value not known is no
    // cell. The values of a record go the same way.
    void writeCells(DrawnName name, const Person& person, const PlaceOfPerson& place) {
        for (std::size_t column = 0; column < m_fields.size(); ++column) {
            if (m_fields[column] == PersonField::BirthYear) {
                if (person.year == 0) {
                    if (m_values)
                        m_values->missing(column);
                } else if (m_values) {
                    m_values->number(column, person.year);
                } else {
                    m_book->writeNumber(m_row, static_cast<int>(column), person.year);
                }
                continue;
            }
            Row row{m_cell.data()};
            put(row, m_fields[column], name, person, place);
            const QByteArrayView cell(m_cell.data(), row.at - m_cell.data());
            if (m_values) {
                if (cell.isEmpty())
                    m_values->missing(column);
                else
                    m_values->text(column, cell, identityOf(m_fields[column], name, person, place));
            } else if (!cell.isEmpty()) {
                m_book->write(m_row, static_cast<int>(column), QString::fromUtf8(cell));
            }
        }
        if (m_values)
            m_values->endRecord();
        ++m_row;
    }

    std::vector<PersonField> m_fields;
    bool m_unique;
    Encoding m_encoding;
    bool m_withFirst;
    bool m_withLast;
    bool m_personWithName;
    std::optional<QDate> m_titledFrom18On;
    PersonDraw m_people;
    std::optional<PlaceDraw> m_placeDraw;
    CommuneTexts m_communes;
    PlaceTexts m_streets;
    PlaceTexts m_departmentCodes;
    NirBook m_nirs;
    bool m_wantsPlaces = false; // a field takes the third sequence's numbers
    std::unique_ptr<ByteSink> m_sink;
    const TextTable& m_firstTexts;
    std::function<std::uint32_t(QByteArrayView)> m_placeOfText;
    std::unique_ptr<NamesWorkbook> m_book;
    RecordValues* m_values = nullptr;
    qsizetype m_row = 0;
    qsizetype m_longestRow = 0;
    std::vector<char> m_cell;
    Forms m_first;
    Forms m_last;
    Pieces m_fixed;
    AddressBook m_addresses;
    QHash<QByteArray, int> m_nextNumber; // by address without its number
    QByteArray m_address;
    // What people are drawn with, written at every name by the writer's caller, on cache lines of
    // their own: what rows are made with (the forms, the places' texts, the sink, the books of what
    // was given) belongs to the thread that makes them while it runs, and a line both wrote would
    // go back and forth between the two.
    alignas(64) RandomSource m_sequence;
    RandomSource m_third;
    std::array<DrawnName, 32> m_waiting{};
    std::array<PlaceDraw::Numbers, 32> m_waitingNumbers{};
    std::size_t m_waitingCount = 0;
    // The people drawn and not yet made into rows; the block handed to the thread that makes them.
    std::vector<Drawn> m_block;
    alignas(64) std::vector<Drawn> m_handed;
    std::thread m_formatter;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_handedOver = false;
    bool m_stopping = false;
    std::exception_ptr m_failure;
};

} // namespace

bool needsPerson(const std::vector<PersonField>& fields) {
    return std::any_of(fields.begin(), fields.end(), [](PersonField field) {
        return field == PersonField::Sex || field == PersonField::BirthYear || field == PersonField::BirthDate ||
               field == PersonField::Title || field == PersonField::Nir;
    });
}

bool needsPlaces(const std::vector<PersonField>& fields) {
    return std::any_of(fields.begin(), fields.end(), [](PersonField field) {
        return field >= PersonField::BirthPlace && field != PersonField::Mobile &&
               field != PersonField::MobileInternational;
    });
}

std::unique_ptr<PeopleWriter> makePeopleWriter(const PeopleRecords& records, const TextTable& first,
                                               const TextTable& last, std::vector<NameBirthSpans> births,
                                               std::unique_ptr<ByteSink> sink, std::vector<std::uint32_t> placeOf,
                                               std::function<std::uint32_t(QByteArrayView)> placeOfText) {
    return std::make_unique<FieldsWriter>(records, first, last, std::move(births), std::move(sink), std::move(placeOf),
                                          std::move(placeOfText));
}

} // namespace quillory
