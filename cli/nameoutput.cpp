#include "nameoutput.h"

#include "clirun.h"

#include "core/apperror.h"
#include "results/core/workbookoutput.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace quillory::cli {

void ByteSink::append(const char* data, qsizetype size) {
    while (size > 0) {
        const qsizetype part = std::min(size, kRoom);
        char* at = room(part);
        std::memcpy(at, data, static_cast<std::size_t>(part));
        advance(at + part);
        data += part;
        size -= part;
    }
}

void ByteSink::flush() {
    if (m_used == 0)
        return;
    const qsizetype used = std::exchange(m_used, 0);
    writeOut(m_buffer.get(), used);
}

void DescriptorSink::writeOut(const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t written = ::write(m_fd, data, static_cast<std::size_t>(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EPIPE)
                throw ClosedPipe{};
            throw AppError(QStringLiteral("standard output: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
        }
        data += written;
        size -= written;
    }
}

FileSink::FileSink(const QString& path) : m_file(path) {
    // Never write into the earlier file: a failure part-way would leave it half replaced.
    m_file.setDirectWriteFallback(false);
    if (!m_file.open(QIODevice::WriteOnly))
        throw AppError(QStringLiteral("%1: %2").arg(path, m_file.errorString()));
}

void FileSink::writeOut(const char* data, qsizetype size) {
    errno = 0;
    if (m_file.write(data, size) != size) {
        // The system's own word for it (a full disk, a file too large) rather than Qt's summary.
        const QString reason = errno != 0 ? QString::fromLocal8Bit(std::strerror(errno)) : m_file.errorString();
        throw AppError(QStringLiteral("%1: %2").arg(m_file.fileName(), reason));
    }
}

void FileSink::finish() {
    flush();
    if (!m_file.commit())
        throw AppError(QStringLiteral("%1: %2").arg(m_file.fileName(), m_file.errorString()));
}

QByteArray csvField(const QString& text) {
    QByteArray bytes = text.toUtf8();
    if (bytes.contains(',') || bytes.contains('"') || bytes.contains('\r') || bytes.contains('\n'))
        bytes = '"' + bytes.replace('"', "\"\"") + '"';
    return bytes;
}

QByteArray jsonString(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    out.reserve(utf8.size() + 2);
    out.append('"');
    for (const char c : utf8) {
        switch (c) {
        case '"':
            out.append("\\\"");
            break;
        case '\\':
            out.append("\\\\");
            break;
        case '\n':
            out.append("\\n");
            break;
        case '\r':
            out.append("\\r");
            break;
        case '\t':
            out.append("\\t");
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                out.append(QByteArray("\\u00") +
                           QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(2, '0'));
            else
                out.append(c);
        }
    }
    out.append('"');
    return out;
}

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
        m_firstFields = encodeFields(first);
    if (m_withLast)
        m_lastFields = encodeFields(last);
    const auto longest = [](const Fields& fields) {
        qsizetype size = 0;
        for (std::size_t i = 1; i < fields.offsets.size(); ++i)
            size = std::max(size, fields.offsets[i] - fields.offsets[i - 1]);
        return size;
    };
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

LineWriter::Fields LineWriter::encodeFields(const DrawPool& pool) const {
    Fields fields;
    fields.offsets.reserve(static_cast<std::size_t>(pool.texts.size()) + 1);
    fields.offsets.push_back(0);
    for (const QString& text : pool.texts) {
        fields.bytes.append(field(text));
        fields.offsets.push_back(fields.bytes.size());
    }
    return fields;
}

namespace {

class WorkbookWriter final : public NameWriter {
public:
    WorkbookWriter(const Options& options, const DrawPool& first, const DrawPool& last)
        : m_book(options.output, NamesWorkbook::Placement::Replacing), m_first(first), m_last(last),
          m_part(options.part), m_oneCell(options.cells == 1) {
        setLeftover(m_book.partPath());
    }
    ~WorkbookWriter() override { setLeftover({}); }

    void write(DrawnName name) override {
        switch (m_part) {
        case NamePart::FirstAndLast:
            if (m_oneCell) {
                m_book.write(m_row, 0, m_first.texts[name.first] + QLatin1Char(' ') + m_last.texts[name.last]);
            } else {
                m_book.write(m_row, 0, m_first.texts[name.first]);
                m_book.write(m_row, 1, m_last.texts[name.last]);
            }
            break;
        case NamePart::FirstOnly:
            m_book.write(m_row, 0, m_first.texts[name.first]);
            break;
        default:
            m_book.write(m_row, 0, m_last.texts[name.last]);
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
    try {
        return std::make_unique<WorkbookWriter>(options, first, last);
    } catch (const AppError& error) {
        throw AppError(QStringLiteral("%1: %2").arg(options.output, error.message()));
    }
}

} // namespace quillory::cli
