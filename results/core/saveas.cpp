#include "saveas.h"

#include "core/listitems.h"
#include "core/outputfile.h"
#include "core/random.h"
#include "generator/persontext.h"
#include "namerecords.h"
#include "peoplewriter.h"
#include "workbookoutput.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>

namespace quillory {

namespace {

constexpr const char* kEndings[] = {"txt", "csv", "jsonl", "xlsx", "xlsx", "csv", "jsonl", "csv", "jsonl"};

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

// Gathers bytes and writes them in large pieces; failures give the system's reason alone.
class Sink final : public ByteSink {
public:
    // A window never waits: a named pipe without a reader fails at once.
    explicit Sink(const QString& path) : m_file(path, {.waitForReader = false}) {}
    void add(QByteArrayView bytes) { append(bytes.data(), bytes.size()); }
    void commit() { finish(); }
    void finish() override {
        flush();
        m_file.commit();
    }

private:
    void writeOut(const char* data, qsizetype size) override { m_file.write(data, size); }
    OutputFile m_file;
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
            QCoreApplication::translate("Form2", "JSON lines with sex, birth date, title and e-mail (*.jsonl)"),
            QCoreApplication::translate("Form2", "CSV with every field (*.csv)"),
            QCoreApplication::translate("Form2", "JSON lines with every field (*.jsonl)")};
}

SaveAsType saveAsTypeOf(int filterIndex, const QString& path) {
    if (filterIndex >= 0 && filterIndex <= static_cast<int>(SaveAsType::JsonLinesEveryField))
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
    case SaveAsType::CsvEveryField:
        writeRecords(names, SaveAsType::Csv, path);
        return;
    case SaveAsType::JsonLinesPeople:
    case SaveAsType::JsonLinesEveryField:
        writeRecords(names, SaveAsType::JsonLines, path);
        return;
    }
}

void writeRunPeople(const NameRun& run, std::vector<PersonField> fields, RecordFormat format, const BirthsOf& birthsOf,
                    std::unique_ptr<ByteSink> sink, std::shared_ptr<const Places> places) {
    const RunPeople rules = run.people();
    const PeopleRecords records{.fields = std::move(fields),
                                .format = format,
                                .withFirst = run.keepsFirst(),
                                .withLast = run.keepsLast(),
                                .uniqueAddresses = rules.uniqueAddresses,
                                .rules = {.sex = rules.sex,
                                          .firstYear = rules.firstYear,
                                          .lastYear = rules.lastYear,
                                          .firstDay = std::nullopt,
                                          .lastDay = std::nullopt},
                                .personWithName = rules.today,
                                .titledFrom18On = rules.titledFrom18On,
                                .places = std::move(places),
                                .ascii = false,
                                .seed = rules.seed,
                                .workbook = {}};

    // The writer takes each text once, and each name as its places among those texts; the people's
    // draw takes each first name's births by its place.
    struct Texts {
        TextTable table;
        QHash<QString, std::uint32_t> places;
        std::uint32_t placeOf(const QString& text) {
            auto at = places.constFind(text);
            if (at == places.constEnd()) {
                at = places.insert(text, static_cast<std::uint32_t>(table.size()));
                table.append(text);
            }
            return *at;
        }
    };
    Texts first;
    Texts last;
    std::vector<DrawnName> drawn(static_cast<std::size_t>(run.size()));
    std::vector<NameBirthSpans> births;
    for (qsizetype i = 0; i < run.size(); ++i) {
        DrawnName& name = drawn[static_cast<std::size_t>(i)];
        if (records.withFirst) {
            const QString text = run.firstName(i);
            name.first = first.placeOf(text);
            if (births.size() < static_cast<std::size_t>(first.table.size()))
                births.push_back(birthsOf(text));
        }
        if (records.withLast)
            name.last = last.placeOf(run.lastName(i));
        if (rules.today) {
            const std::optional<RunPerson> person = run.person(i);
            if (!person)
                throw AppError(QStringLiteral("the people of these names were not kept"));
            name.born = person->born;
            name.sex = person->sex;
            name.domain = person->domain;
        }
    }
    const std::unique_ptr<NameWriter> writer =
        makePeopleWriter(records, first.table, last.table, std::move(births), std::move(sink));
    for (const DrawnName& name : drawn)
        writer->write(name);
    writer->finish();
}

std::vector<PersonField> peopleFields() {
    return {PersonField::Sex, PersonField::BirthYear, PersonField::BirthDate, PersonField::Title, PersonField::Email};
}

std::vector<PersonField> everyField(const NameRun& run) {
    std::vector<PersonField> fields;
    for (int field = 0; field <= static_cast<int>(PersonField::Nir); ++field) {
        const auto each = static_cast<PersonField>(field);
        const bool first = each == PersonField::FirstName || each == PersonField::FirstNameAscii;
        const bool last = each == PersonField::LastName || each == PersonField::LastNameAscii;
        if ((!first || run.keepsFirst()) && (!last || run.keepsLast()))
            fields.push_back(each);
    }
    return fields;
}

void savePeopleAs(const ListItems& names, SaveAsType type, const QString& path, const BirthsOf& birthsOf,
                  std::shared_ptr<const Places> places) {
    const auto* run = dynamic_cast<const NameRun*>(&names);
    const bool csv = type == SaveAsType::Csv || type == SaveAsType::CsvPeople || type == SaveAsType::CsvEveryField;
    if (run == nullptr) {
        writeRecords(names, csv ? SaveAsType::Csv : SaveAsType::JsonLines, path);
        return;
    }
    std::vector<PersonField> fields;
    if (withEveryField(type)) {
        fields = everyField(*run);
    } else {
        if (run->keepsFirst())
            fields.push_back(PersonField::FirstName);
        if (run->keepsLast())
            fields.push_back(PersonField::LastName);
        for (const PersonField field : peopleFields())
            fields.push_back(field);
    }
    writeRunPeople(*run, std::move(fields), csv ? RecordFormat::Csv : RecordFormat::JsonLines, birthsOf,
                   std::make_unique<Sink>(path), withEveryField(type) ? std::move(places) : nullptr);
}

} // namespace quillory
