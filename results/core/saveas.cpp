#include "saveas.h"

#include "core/listitems.h"
#include "core/outputfile.h"
#include "core/random.h"
#include "generator/persontext.h"
#include "namerecords.h"
#include "workbookoutput.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace quillory {

namespace {

constexpr const char* kEndings[] = {"txt", "csv", "jsonl", "xlsx", "xlsx", "csv", "jsonl"};

// The parts of each name as the records have them: the run's own, or the whole item as one field.
struct Columns {
    const NameRun* run;
    bool first;
    bool last;
};

Columns columnsOf(const ListItems& names) {
    const auto* run = dynamic_cast<const NameRun*>(&names);
    return run != nullptr ? Columns{run, run->keepsFirst(), run->keepsLast()} : Columns{nullptr, false, false};
}

// Gathers bytes and writes them in large pieces.
class Sink {
public:
    // A window never waits: a named pipe without a reader fails at once.
    explicit Sink(const QString& path) : m_file(path, {.waitForReader = false}) {}
    void add(QByteArrayView bytes) {
        m_buffer.append(bytes);
        if (m_buffer.size() >= (1 << 20))
            flush();
    }
    void commit() {
        flush();
        m_file.commit();
    }

private:
    void flush() {
        m_file.write(m_buffer);
        m_buffer.clear();
    }
    OutputFile m_file;
    QByteArray m_buffer;
};

void writeRecords(const ListItems& names, SaveAsType type, const QString& path) {
    const Columns columns = columnsOf(names);
    Sink sink(path);
    const bool csv = type == SaveAsType::Csv;
    const auto field = [&](const QString& text) { return csv ? csvField(text) : jsonString(text); };
    if (csv) {
        QByteArrayList header;
        if (columns.first)
            header << "first_name";
        if (columns.last)
            header << "last_name";
        if (columns.run == nullptr)
            header << "name";
        sink.add(header.join(',') + "\r\n");
    }
    for (qsizetype i = 0; i < names.size(); ++i) {
        QByteArrayList fields;
        if (columns.run == nullptr) {
            fields << (csv ? field(names.text(i)) : "\"name\":" + field(names.text(i)));
        } else {
            if (columns.first)
                fields << (csv ? field(columns.run->firstName(i))
                               : "\"first_name\":" + field(columns.run->firstName(i)));
            if (columns.last)
                fields << (csv ? field(columns.run->lastName(i)) : "\"last_name\":" + field(columns.run->lastName(i)));
        }
        sink.add(csv ? fields.join(',') + "\r\n" : '{' + fields.join(',') + "}\n");
    }
    sink.commit();
}

void writeWorkbook(const ListItems& names, bool twoCells, const QString& path) {
    const Columns columns = columnsOf(names);
    NamesWorkbook book(path, NamesWorkbook::Placement::Replacing, false);
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (!twoCells) {
            book.write(i, 0, names.text(i));
        } else if (columns.run != nullptr) {
            book.write(i, 0, columns.first ? columns.run->firstName(i) : columns.run->lastName(i));
            if (columns.first && columns.last)
                book.write(i, 1, columns.run->lastName(i));
        } else {
            const QString text = names.text(i);
            const NamePieces pieces = splitAtSpaces(text);
            book.write(i, 0, pieces.first);
            book.write(i, 1, pieces.second);
        }
    }
    book.fitColumns();
    book.finish();
}

} // namespace

QStringList saveAsFilters() {
    return {QCoreApplication::translate("Form2", "Text, one name a line (*.txt)"),
            QCoreApplication::translate("Form2", "CSV (*.csv)"),
            QCoreApplication::translate("Form2", "JSON lines (*.jsonl)"),
            QCoreApplication::translate("Form2", "Workbook, one name a cell (*.xlsx)"),
            QCoreApplication::translate("Form2", "Workbook, first and last names in two cells (*.xlsx)"),
            QCoreApplication::translate("Form2", "CSV with sex, birth date, title and e-mail (*.csv)"),
            QCoreApplication::translate("Form2", "JSON lines with sex, birth date, title and e-mail (*.jsonl)")};
}

SaveAsType saveAsTypeOf(int filterIndex, const QString& path) {
    if (filterIndex >= 0 && filterIndex <= static_cast<int>(SaveAsType::JsonLinesPeople))
        return static_cast<SaveAsType>(filterIndex);
    const QString ending = QFileInfo(path).suffix().toLower();
    if (ending == u"csv")
        return SaveAsType::Csv;
    if (ending == u"jsonl" || ending == u"json")
        return SaveAsType::JsonLines;
    if (ending == u"xlsx")
        return SaveAsType::WorkbookTwoCells;
    return SaveAsType::Text;
}

QString withTypeEnding(const QString& path, SaveAsType type) {
    if (!QFileInfo(path).suffix().isEmpty())
        return path;
    return path + u'.' + QLatin1String(kEndings[static_cast<int>(type)]);
}

void saveNamesAs(const ListItems& names, SaveAsType type, const QString& path) {
    switch (type) {
    case SaveAsType::Text: {
        Sink sink(path);
        QByteArray lines;
        names.appendLines(lines, "\n");
        sink.add(lines);
        sink.commit();
        return;
    }
    case SaveAsType::Csv:
    case SaveAsType::JsonLines:
        writeRecords(names, type, path);
        return;
    case SaveAsType::WorkbookOneCell:
    case SaveAsType::WorkbookTwoCells:
        writeWorkbook(names, type == SaveAsType::WorkbookTwoCells, path);
        return;
    case SaveAsType::CsvPeople:
        writeRecords(names, SaveAsType::Csv, path);
        return;
    case SaveAsType::JsonLinesPeople:
        writeRecords(names, SaveAsType::JsonLines, path);
        return;
    }
}

void savePeopleAs(const ListItems& names, SaveAsType type, const QString& path, const BirthsOf& birthsOf) {
    const auto* run = dynamic_cast<const NameRun*>(&names);
    const bool csv = type == SaveAsType::Csv || type == SaveAsType::CsvPeople;
    if (run == nullptr) {
        writeRecords(names, csv ? SaveAsType::Csv : SaveAsType::JsonLines, path);
        return;
    }
    const RunPeople rules = run->people();
    const bool withFirst = run->keepsFirst();
    const bool withLast = run->keepsLast();

    // The people's draw takes each first name's births once, by its place among the names drawn.
    QHash<QString, std::uint32_t> places;
    std::vector<NameBirthSpans> births;
    std::vector<std::uint32_t> placeOf(static_cast<std::size_t>(withFirst ? names.size() : 0));
    for (std::size_t i = 0; i < placeOf.size(); ++i) {
        const QString first = run->firstName(static_cast<qsizetype>(i));
        auto at = places.constFind(first);
        if (at == places.constEnd()) {
            at = places.insert(first, static_cast<std::uint32_t>(births.size()));
            births.push_back(birthsOf(first));
        }
        placeOf[i] = *at;
    }
    PersonDraw people({.sex = rules.sex, .firstYear = rules.firstYear, .lastYear = rules.lastYear}, std::move(births));
    RandomSource sequence = RandomSource::second(rules.seed);

    QByteArrayList fields;
    if (withFirst)
        fields << "first_name";
    if (withLast)
        fields << "last_name";
    fields << "sex"
           << "birth_year"
           << "birth_date"
           << "title"
           << "email";
    Sink sink(path);
    if (csv)
        sink.add(fields.join(',') + "\r\n");
    // A text as a field; a value not known is empty in CSV, null in JSON.
    const auto text = [csv](const QString& value) { return csv ? csvField(value) : jsonString(value); };
    const auto known = [csv](const QByteArray& value, bool quoted) -> QByteArray {
        if (value.isEmpty())
            return csv ? QByteArray() : QByteArrayLiteral("null");
        return csv || !quoted ? value : '"' + value + '"';
    };
    QSet<QByteArray> addresses;
    QByteArrayList values;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const Person person = people.draw(
            withFirst ? std::optional<std::uint32_t>(placeOf[static_cast<std::size_t>(i)]) : std::nullopt, sequence);
        const QString first = run->firstName(i);
        const QString last = run->lastName(i);
        values.clear();
        if (withFirst)
            values << text(first);
        if (withLast)
            values << text(last);
        values << known(person.sex == 0 ? QByteArray() : QByteArray(1, person.sex), true);
        values << known(person.year == 0 ? QByteArray() : QByteArray::number(person.year).rightJustified(4, '0'),
                        false);
        values << known(person.year == 0
                            ? QByteArray()
                            : QString::asprintf("%04d-%02d-%02d", person.year, person.month, person.day).toLatin1(),
                        true);
        values << known(person.sex == 0 ? QByteArray() : QByteArray(person.sex == 'F' ? "Mme" : "M."), true);
        const QByteArray local = addressLocalPart(first, last);
        const QByteArray domain = QByteArray("@") + kExampleDomains[person.domain];
        QByteArray address = local + domain;
        for (int n = 2; rules.uniqueAddresses && addresses.contains(address); ++n)
            address = local + QByteArray::number(n) + domain;
        if (rules.uniqueAddresses)
            addresses.insert(address);
        values << known(address, true);
        if (csv) {
            sink.add(values.join(',') + "\r\n");
        } else {
            QByteArray line = "{";
            for (qsizetype f = 0; f < fields.size(); ++f)
                line.append(f == 0 ? "\"" : ",\"").append(fields[f]).append("\":").append(values[f]);
            sink.add(line + "}\n");
        }
    }
    sink.commit();
}

} // namespace quillory
