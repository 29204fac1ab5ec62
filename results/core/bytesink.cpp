#include "bytesink.h"

#include "core/apperror.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace quillory {

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
    if (!m_background) {
        writeOut(m_buffer.get(), used);
        return;
    }
    std::unique_lock lock(m_mutex);
    if (!m_writer.joinable()) {
        m_handed.reset(new char[kBufferSize]);
        m_writer = std::thread([this] {
            std::unique_lock held(m_mutex);
            for (;;) {
                m_changed.wait(held, [this] { return m_writing || m_stopping; });
                if (!m_writing)
                    return;
                held.unlock();
                std::exception_ptr failure;
                try {
                    writeOut(m_handed.get(), m_handedSize);
                } catch (...) {
                    failure = std::current_exception();
                }
                held.lock();
                m_failure = failure;
                m_writing = false;
                m_changed.notify_all();
                if (failure)
                    return;
            }
        });
    }
    // The buffer before must be written before this one is handed over.
    m_changed.wait(lock, [this] { return !m_writing; });
    if (m_failure)
        std::rethrow_exception(m_failure);
    std::swap(m_buffer, m_handed);
    m_handedSize = used;
    m_writing = true;
    m_changed.notify_all();
}

void ByteSink::drain() {
    if (!m_background)
        return;
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_writing; });
    if (m_failure)
        std::rethrow_exception(m_failure);
}

void ByteSink::stopWriting() noexcept {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_changed.notify_all();
    }
    if (m_writer.joinable())
        m_writer.join();
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

FileSink::FileSink(const QString& path, OutputFile::Rules rules) : m_path(path) {
    try {
        m_file = std::make_unique<OutputFile>(path, rules);
    } catch (const OutputRefused&) {
        throw;
    } catch (const AppError& error) {
        throw AppError(QStringLiteral("%1: %2").arg(path, error.message()));
    }
    writeInBackground();
}

void FileSink::writeOut(const char* data, qsizetype size) {
    try {
        m_file->write(data, size);
    } catch (const OutputClosed&) {
        throw ClosedPipe{};
    } catch (const AppError& error) {
        throw AppError(QStringLiteral("%1: %2").arg(m_path, error.message()));
    }
}

void FileSink::finish() {
    flush();
    drain();
    try {
        m_file->commit();
    } catch (const OutputClosed&) {
        throw ClosedPipe{};
    } catch (const AppError& error) {
        throw AppError(QStringLiteral("%1: %2").arg(m_path, error.message()));
    }
}

} // namespace quillory
