#include "peoplewriter.h"

#include "namerecords.h"
#include "workbookoutput.h"

#include "core/apperror.h"
#include "generator/persontext.h"
#include "generator/today.h"

#include <QHash>

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

class FieldsWriter final : public NameWriter {
public:
    FieldsWriter(const PeopleRecords& records, const TextTable& first, const TextTable& last,
                 std::vector<NameBirthSpans> births, std::unique_ptr<ByteSink> sink, std::vector<std::uint32_t> placeOf,
                 std::function<std::uint32_t(QByteArrayView)> placeOfText)
        : m_fields(records.fields), m_unique(records.uniqueAddresses),
          m_encoding(records.format == RecordFormat::JsonLines ? Encoding::Json
                     : records.format == RecordFormat::Csv     ? Encoding::Csv
                                                               : Encoding::Cell),
          m_withFirst(records.withFirst), m_withLast(records.withLast), m_personWithName(records.personWithName),
          m_titledFrom18On(records.titledFrom18On), m_sequence(RandomSource::second(records.seed)),
          m_people(records.rules, std::move(births), std::move(placeOf)), m_sink(std::move(sink)), m_firstTexts(first),
          m_placeOfText(std::move(placeOfText)) {
        m_first = Forms(first, FormMaker(m_encoding, 0, m_fields));
        m_last = Forms(last, FormMaker(m_encoding, 1, m_fields));
        makeFixedTexts();
        // The longest row: each field at its longest, with what goes before it.
        const qsizetype longestName = m_first.longest() + m_last.longest();
        m_longestRow = qsizetype{kSpare} + m_fixed.longest() + 2;
        for (std::size_t i = 0; i < m_fields.size(); ++i)
            m_longestRow += m_fixed.longest() + 2 * longestName + 48;
        if (m_longestRow > ByteSink::kRoom)
            throw AppError(QStringLiteral("a name is too long to write"));
        if (m_encoding == Encoding::Cell) {
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

    // The names are taken a few at a time, so that what each row reads of its names is fetched
    // while the rows before it are made; the rows come in the order the names do.
    void write(DrawnName name) override {
        m_waiting[m_waitingCount++] = name;
        if (m_withFirst) {
            if (!m_placeOfText && !m_personWithName)
                m_people.prefetchPlace(name.first);
            m_first.prefetchPlace(name.first);
        }
        if (m_withLast)
            m_last.prefetchPlace(name.last);
        if (m_waitingCount == m_waiting.size())
            writeWaiting();
    }

    void finish() override {
        writeWaiting();
        if (m_book) {
            m_book->fitColumns();
            m_book->finish();
            return;
        }
        m_sink->finish();
    }

private:
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

    void fixed(Row& row, std::size_t text) const { row.put(m_fixed.data(text), m_fixed.size(text)); }
    void first(Row& row, std::uint32_t item, Form form) const { row.put(m_first.text(item, form)); }
    void last(Row& row, std::uint32_t item, Form form) const { row.put(m_last.text(item, form)); }

    void writeWaiting() {
        for (std::size_t i = 0; i < m_waitingCount; ++i) {
            if (m_withFirst) {
                if (!m_placeOfText && !m_personWithName)
                    m_people.prefetchPeriods(m_waiting[i].first);
                m_first.prefetchRecord(m_waiting[i].first);
            }
            if (m_withLast)
                m_last.prefetchRecord(m_waiting[i].last);
        }
        for (std::size_t i = 0; i < m_waitingCount; ++i)
            writeRow(m_waiting[i]);
        m_waitingCount = 0;
    }

    void writeRow(DrawnName name) {
        Person person;
        if (m_personWithName) {
            const QDate born = QDate::fromJulianDay(name.born);
            person = {name.sex, born.year(), born.month(), born.day(), name.domain};
        } else {
            std::optional<std::uint32_t> births;
            if (m_withFirst)
                births = m_placeOfText ? m_placeOfText(m_firstTexts.bytes(name.first)) : name.first;
            person = m_people.draw(births, m_sequence);
        }
        if (m_book) {
            writeCells(name, person);
            return;
        }
        Row row{m_sink->room(m_longestRow)};
        for (std::size_t i = 0; i < m_fields.size(); ++i) {
            fixed(row, kLeads + i);
            put(row, m_fields[i], name, person);
        }
        fixed(row, kRowEnd);
        m_sink->advance(row.at);
    }

    // The age from which a person is addressed as Madame or Monsieur.
    static constexpr int kAdult = 18;

    static std::size_t sexIndex(char sex) { return sex == 'F' ? 1 : sex == 'M' ? 2 : 0; }

    // Inlined into the loop over the fields, which is what a row spends its time on.
    [[gnu::always_inline]] void put(Row& row, PersonField field, DrawnName name, const Person& person) {
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

    // A workbook's row, a field a cell, each as it is (the year a number); a value not known is no cell.
    void writeCells(DrawnName name, const Person& person) {
        for (std::size_t column = 0; column < m_fields.size(); ++column) {
            if (m_fields[column] == PersonField::BirthYear) {
                if (person.year != 0)
                    m_book->writeNumber(m_row, static_cast<int>(column), person.year);
                continue;
            }
            Row row{m_cell.data()};
            put(row, m_fields[column], name, person);
            if (row.at != m_cell.data())
                m_book->write(m_row, static_cast<int>(column),
                              QString::fromUtf8(m_cell.data(), row.at - m_cell.data()));
        }
        ++m_row;
    }

    std::vector<PersonField> m_fields;
    bool m_unique;
    Encoding m_encoding;
    bool m_withFirst;
    bool m_withLast;
    bool m_personWithName;
    std::optional<QDate> m_titledFrom18On;
    RandomSource m_sequence;
    PersonDraw m_people;
    std::unique_ptr<ByteSink> m_sink;
    const TextTable& m_firstTexts;
    std::function<std::uint32_t(QByteArrayView)> m_placeOfText;
    std::unique_ptr<NamesWorkbook> m_book;
    qsizetype m_row = 0;
    qsizetype m_longestRow = 0;
    std::vector<char> m_cell;
    Forms m_first;
    Forms m_last;
    Pieces m_fixed;
    AddressBook m_addresses;
    QHash<QByteArray, int> m_nextNumber; // by address without its number
    QByteArray m_address;
    std::array<DrawnName, 32> m_waiting{};
    std::size_t m_waitingCount = 0;
};

} // namespace

bool needsPerson(const std::vector<PersonField>& fields) {
    return std::any_of(fields.begin(), fields.end(), [](PersonField field) {
        return field == PersonField::Sex || field == PersonField::BirthYear || field == PersonField::BirthDate ||
               field == PersonField::Title;
    });
}

std::unique_ptr<NameWriter> makePeopleWriter(const PeopleRecords& records, const TextTable& first,
                                             const TextTable& last, std::vector<NameBirthSpans> births,
                                             std::unique_ptr<ByteSink> sink, std::vector<std::uint32_t> placeOf,
                                             std::function<std::uint32_t(QByteArrayView)> placeOfText) {
    return std::make_unique<FieldsWriter>(records, first, last, std::move(births), std::move(sink), std::move(placeOf),
                                          std::move(placeOfText));
}

} // namespace quillory
