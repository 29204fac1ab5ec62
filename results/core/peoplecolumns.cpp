#include "peoplecolumns.h"

#include "bytesink.h"
#include "core/apperror.h"

#include <QCoreApplication>

#include <limits>

namespace quillory {

namespace {

// Keeps the records in memory, and stops the writer when told to.
class MemorySink final : public ByteSink {
public:
    MemorySink(std::string& bytes, const std::atomic<bool>* cancelled) : m_bytes(bytes), m_cancelled(cancelled) {}

private:
    void writeOut(const char* data, qsizetype size) override {
        if (m_cancelled != nullptr && m_cancelled->load(std::memory_order_relaxed))
            throw PeopleColumns::Cancelled{};
        m_bytes.append(data, static_cast<std::size_t>(size));
    }
    std::string& m_bytes;
    const std::atomic<bool>* m_cancelled;
};

} // namespace

std::vector<PersonField> PeopleColumns::shownFields() {
    std::vector<PersonField> fields = peopleFields();
    std::erase(fields, PersonField::BirthYear); // the date shows it
    return fields;
}

std::shared_ptr<const PeopleColumns> PeopleColumns::make(const NameRun& run, const BirthsOf& birthsOf,
                                                         const std::atomic<bool>* cancelled) {
    auto columns = std::make_shared<PeopleColumns>();
    columns->m_fields = shownFields();
    std::string written;
    written.reserve(static_cast<std::size_t>(run.size()) * 48 + 64);
    writeRunPeople(run, columns->m_fields, RecordFormat::Csv, birthsOf,
                   std::make_unique<MemorySink>(written, cancelled));
    // The header line goes; each record's start is kept.
    const std::size_t body = written.find('\n') + 1;
    if (written.size() - body > std::numeric_limits<std::uint32_t>::max())
        throw AppError(QCoreApplication::translate("Form2", "Too many people to show."));
    columns->m_lines.assign(written, body);
    written = std::string();
    columns->m_starts.reserve(static_cast<std::size_t>(run.size()) + 1);
    columns->m_starts.push_back(0);
    for (std::size_t at = columns->m_lines.find('\n'); at != std::string::npos;
         at = columns->m_lines.find('\n', at + 1))
        columns->m_starts.push_back(static_cast<std::uint32_t>(at + 1));
    columns->m_lines.shrink_to_fit();
    return columns;
}

QString PeopleColumns::header(int column) const {
    switch (m_fields[static_cast<std::size_t>(column)]) {
    case PersonField::Sex:
        return QCoreApplication::translate("Form2", "Sex");
    case PersonField::BirthDate:
        return QCoreApplication::translate("Form2", "Born");
    case PersonField::Title:
        return QCoreApplication::translate("Form2", "Title");
    case PersonField::Email:
        return QCoreApplication::translate("Form2", "E-mail");
    default:
        return QString::fromLatin1(fieldName(m_fields[static_cast<std::size_t>(column)]));
    }
}

QString PeopleColumns::text(qsizetype row, int column) const {
    if (row < 0 || row >= rows())
        return {};
    std::string_view line(m_lines.data() + m_starts[static_cast<std::size_t>(row)],
                          m_starts[static_cast<std::size_t>(row) + 1] - m_starts[static_cast<std::size_t>(row)]);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    // The fields of one CSV record: a quoted field doubles its quotes and may hold commas.
    std::string field;
    std::size_t at = 0;
    for (int index = 0;; ++index) {
        field.clear();
        if (at < line.size() && line[at] == '"') {
            for (++at; at < line.size(); ++at) {
                if (line[at] == '"') {
                    if (at + 1 < line.size() && line[at + 1] == '"') {
                        field += '"';
                        ++at;
                    } else {
                        ++at;
                        break;
                    }
                } else {
                    field += line[at];
                }
            }
        } else {
            const std::size_t end = std::min(line.find(',', at), line.size());
            field.assign(line.substr(at, end - at));
            at = end;
        }
        if (index == column)
            return QString::fromUtf8(field.data(), static_cast<qsizetype>(field.size()));
        if (at >= line.size())
            return {};
        ++at; // the comma
    }
}

} // namespace quillory
