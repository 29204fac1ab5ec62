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

FileSink::FileSink(const QString& path, OutputFile::Rules rules) : m_path(path) {
    try {
        m_file = std::make_unique<OutputFile>(path, rules);
    } catch (const OutputRefused&) {
        throw;
    } catch (const AppError& error) {
        throw AppError(QStringLiteral("%1: %2").arg(path, error.message()));
    }
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
    try {
        m_file->commit();
    } catch (const OutputClosed&) {
        throw ClosedPipe{};
    } catch (const AppError& error) {
        throw AppError(QStringLiteral("%1: %2").arg(m_path, error.message()));
    }
}

} // namespace quillory
