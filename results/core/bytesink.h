#pragma once

#include "core/outputfile.h"
#include "generator/namedraws.h"

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

/** Where drawn names and the records of people go: bytes gathered into large writes. */
namespace quillory {

/** A reader of standard output (or of a pipe) went away: not an error, the run just ends. */
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

    /**
     * Writes what is gathered (in the background, for a sink that writes there, while the next bytes
     * are gathered); throws AppError on failure, ClosedPipe when the reader went away, at once or at
     * the next flush.
     */
    void flush();
    /** Flushes and waits until every byte is written; for a file, then puts it in place. */
    virtual void finish() {
        flush();
        drain();
    }

    static constexpr qsizetype kRoom = 64 * 1024;

protected:
    ByteSink() : m_buffer(new char[kBufferSize]) {}
    virtual void writeOut(const char* data, qsizetype size) = 0;

    /**
     * Writes each full buffer on a thread of its own while the next one is filled, so that making
     * the bytes and writing them overlap. A sink that asks for it must call stopWriting() in its
     * destructor, before its own members go.
     */
    void writeInBackground() { m_background = true; }
    /** Waits until every buffer handed over is written; rethrows the failure of a write. */
    void drain();
    /** Ends the writing thread, whatever is left unwritten (after a failure). */
    void stopWriting() noexcept;

private:
    static constexpr qsizetype kBufferSize = 1 << 20;
    std::unique_ptr<char[]> m_buffer;
    qsizetype m_used = 0;

    // The thread that writes, and the buffer it has been handed.
    bool m_background = false;
    std::thread m_writer;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::unique_ptr<char[]> m_handed;
    qsizetype m_handedSize = 0;
    bool m_writing = false;
    bool m_stopping = false;
    std::exception_ptr m_failure;
};

/** An open file descriptor, such as standard output. */
class DescriptorSink final : public ByteSink {
public:
    explicit DescriptorSink(int fd) : m_fd(fd) { writeInBackground(); }
    ~DescriptorSink() override { stopWriting(); }

private:
    void writeOut(const char* data, qsizetype size) override;
    int m_fd;
};

/**
 * A file written as every output is (see OutputFile): it takes its place (replacing any earlier one)
 * only at finish(); a device or a pipe is written straight through. Failures name the file.
 */
class FileSink final : public ByteSink {
public:
    /** Throws AppError naming the file when it cannot be opened. */
    explicit FileSink(const QString& path, OutputFile::Rules rules = {});
    ~FileSink() override { stopWriting(); }
    void finish() override;

private:
    void writeOut(const char* data, qsizetype size) override;
    QString m_path;
    std::unique_ptr<OutputFile> m_file;
};

/** Writes drawn names, each a pair of places in the pools of first and last names, in one format. */
class NameWriter {
public:
    virtual ~NameWriter() = default;
    virtual void write(DrawnName name) = 0;
    /** Completes the output; nothing of it is in place before. */
    virtual void finish() = 0;
};

} // namespace quillory
