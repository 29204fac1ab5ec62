#include "nameoutput.h"

#include "core/apperror.h"
#include "results/core/namerecords.h"
#include "results/core/workbookoutput.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace quillory::cli {

LineWriter::LineWriter(const Options& options, const DrawPool& first, const DrawPool& last,
                       std::unique_ptr<ByteSink> sink)
    : m_format(options.format), m_withFirst(options.part != NamePart::LastOnly),
      m_withLast(options.part != NamePart::FirstOnly), m_sink(std::move(sink)) {
    const bool both = m_withFirst && m_withLast;
    switch (m_format) {
    case Format::Csv:
        m_between = both ? "," : "";
        m_close = "\r\n";
        m_sink->append(both ? QByteArray("first_name,last_name\r\n")
                            : QByteArray(m_withFirst ? "first_name\r\n" : "last_name\r\n"));
        break;
    case Format::Jsonl:
        m_open = m_withFirst ? R"({"first_name":)" : R"({"last_name":)";
        m_between = both ? R"(,"last_name":)" : "";
        m_close = "}\n";
        break;
    default:
        m_between = both ? " " : "";
        m_close = options.crlf ? "\r\n" : "\n";
        break;
    }
    if (m_withFirst)
        m_firstFields = &fieldsOf(first, m_firstEncoded);
    if (m_withLast)
        m_lastFields = &fieldsOf(last, m_lastEncoded);
    const auto longest = [](const TextTable* fields) { return fields != nullptr ? fields->longest() : 0; };
    m_longestLine = m_open.size() + longest(m_firstFields) + m_between.size() + longest(m_lastFields) + m_close.size();
    // A name is at most 50 characters a part, so a line always fits the room a sink gives at once.
    if (m_longestLine > ByteSink::kRoom)
        throw AppError(QStringLiteral("a name is too long to write"));
}

QByteArray LineWriter::field(const QString& text) const {
    switch (m_format) {
    case Format::Csv:
        return csvField(text);
    case Format::Jsonl:
        return jsonString(text);
    default:
        return text.toUtf8();
    }
}

const TextTable& LineWriter::fieldsOf(const DrawPool& pool, TextTable& encoded) const {
    if (m_format == Format::Text)
        return pool.texts;
    for (qsizetype i = 0; i < pool.texts.size(); ++i)
        encoded.append(QByteArrayView(field(pool.texts.text(i))));
    return encoded;
}

namespace {

class WorkbookWriter final : public NameWriter {
public:
    WorkbookWriter(const Options& options, const DrawPool& first, const DrawPool& last)
        : m_book(options.output, NamesWorkbook::Placement::Replacing), m_first(first), m_last(last),
          m_part(options.part), m_oneCell(options.cells == 1) {}

    void write(DrawnName name) override {
        switch (m_part) {
        case NamePart::FirstAndLast:
            if (m_oneCell) {
                m_book.write(m_row, 0,
                             m_first.texts.text(name.first) + QLatin1Char(' ') + m_last.texts.text(name.last));
            } else {
                m_book.write(m_row, 0, m_first.texts.text(name.first));
                m_book.write(m_row, 1, m_last.texts.text(name.last));
            }
            break;
        case NamePart::FirstOnly:
            m_book.write(m_row, 0, m_first.texts.text(name.first));
            break;
        default:
            m_book.write(m_row, 0, m_last.texts.text(name.last));
            break;
        }
        ++m_row;
    }

    void finish() override {
        m_book.fitColumns();
        m_book.finish();
    }

private:
    NamesWorkbook m_book;
    const DrawPool& m_first;
    const DrawPool& m_last;
    NamePart m_part;
    bool m_oneCell;
    qsizetype m_row = 0;
};

} // namespace

std::unique_ptr<NameWriter> makeWorkbookWriter(const Options& options, const DrawPool& first, const DrawPool& last) {
    return std::make_unique<WorkbookWriter>(options, first, last);
}

} // namespace quillory::cli
