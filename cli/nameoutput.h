#pragma once

#include "options.h"

#include "generator/drawpool.h"
#include "generator/namedraws.h"

#include "results/core/bytesink.h"

#include <QByteArray>

#include <cstring>
#include <memory>
#include <vector>

/** Where quillory-cli's names go, and in what form. */
namespace quillory::cli {

/**
 * The line formats: text (parts joined by a space, LF or CR LF), csv (RFC 4180 with a header, CR LF,
 * quoted only where needed) and jsonl (one object a line). Each pool text is encoded once as its
 * format needs it; a name is then a few copies of bytes.
 */
class LineWriter final : public NameWriter {
public:
    LineWriter(const Options& options, const DrawPool& first, const DrawPool& last, std::unique_ptr<ByteSink> sink);

    void write(DrawnName name) override {
        char* at = m_sink->room(m_longestLine);
        at = put(at, m_open);
        if (m_withFirst)
            at = put(at, m_firstFields, name.first);
        at = put(at, m_between);
        if (m_withLast)
            at = put(at, m_lastFields, name.last);
        at = put(at, m_close);
        m_sink->advance(at);
    }
    void finish() override { m_sink->finish(); }

private:
    // The bytes each text of a pool takes in this format: the pool's own for text, else encoded once.
    const TextTable& fieldsOf(const DrawPool& pool, TextTable& encoded) const;
    QByteArray field(const QString& text) const;
    static char* put(char* at, const QByteArray& bytes) {
        std::memcpy(at, bytes.constData(), static_cast<std::size_t>(bytes.size()));
        return at + bytes.size();
    }
    static char* put(char* at, const TextTable* fields, std::uint32_t item) {
        const QByteArrayView bytes = fields->bytes(item);
        std::memcpy(at, bytes.data(), static_cast<std::size_t>(bytes.size()));
        return at + bytes.size();
    }

    Format m_format;
    bool m_withFirst;
    bool m_withLast;
    QByteArray m_open;
    QByteArray m_between;
    QByteArray m_close;
    TextTable m_firstEncoded;
    TextTable m_lastEncoded;
    const TextTable* m_firstFields = nullptr;
    const TextTable* m_lastFields = nullptr;
    qsizetype m_longestLine = 0;
    std::unique_ptr<ByteSink> m_sink;
};

/** The xlsx format: the window's workbook writer, one name a row, in two cells or one. */
std::unique_ptr<NameWriter> makeWorkbookWriter(const Options& options, const DrawPool& first, const DrawPool& last);

} // namespace quillory::cli
