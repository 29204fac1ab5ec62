#pragma once

#include "options.h"

#include "generator/drawpool.h"
#include "generator/namedraws.h"

#include "core/outputfile.h"

#include <QByteArray>

#include <cstring>
#include <memory>
#include <vector>

/** Where quillory-cli's names go, and in what form. */
namespace quillory::cli {

/** A reader of standard output went away: not an error, the run just ends. */
struct ClosedPipe {};

/** Bytes out, gathered into large writes. */
class ByteSink {
public:
    virtual ~ByteSink() = default;

    ByteSink(const ByteSink&) = delete;
    ByteSink& operator=(const ByteSink&) = delete;

    /** Room for at least `size` more bytes (at most kRoom): write them there, then call advance(). */
    char* room(qsizetype size) {
        if (m_used + size > kBufferSize)
            flush();
        return m_buffer.get() + m_used;
    }
    /** Takes the bytes written into room() up to `end`. */
    void advance(const char* end) { m_used = end - m_buffer.get(); }

    void append(const char* data, qsizetype size);
    void append(const QByteArray& bytes) { append(bytes.constData(), bytes.size()); }

    /** Writes what is gathered; throws AppError on failure, ClosedPipe when the reader went away. */
    void flush();
    /** Flushes, and for a file puts it in place. */
    virtual void finish() { flush(); }

    static constexpr qsizetype kRoom = 64 * 1024;

protected:
    ByteSink() : m_buffer(new char[kBufferSize]) {}
    virtual void writeOut(const char* data, qsizetype size) = 0;

private:
    static constexpr qsizetype kBufferSize = 1 << 20;
    std::unique_ptr<char[]> m_buffer;
    qsizetype m_used = 0;
};

/** An open file descriptor, such as standard output. */
class DescriptorSink final : public ByteSink {
public:
    explicit DescriptorSink(int fd) : m_fd(fd) {}

private:
    void writeOut(const char* data, qsizetype size) override;
    int m_fd;
};

/**
 * The file of -o, written as every output is (see OutputFile): a file takes its place (replacing any
 * earlier one) only at finish(); a device or a pipe is written straight through.
 */
class FileSink final : public ByteSink {
public:
    /** Throws AppError naming the file when it cannot be opened. */
    explicit FileSink(const QString& path);
    void finish() override;

private:
    void writeOut(const char* data, qsizetype size) override;
    QString m_path;
    std::unique_ptr<OutputFile> m_file;
};

/** Writes drawn names in one format. */
class NameWriter {
public:
    virtual ~NameWriter() = default;
    virtual void write(DrawnName name) = 0;
    /** Completes the output; nothing of it is in place before. */
    virtual void finish() = 0;
};

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
