#include "nativepath.h"

#include <sys/stat.h>
#include <unistd.h>

namespace quillory {

namespace {

constexpr char16_t kKeptByteBase = 0xDC80;

// The length of the valid UTF-8 sequence that starts at `at`, or 0 when it is not one.
qsizetype validSequenceAt(const unsigned char* p, qsizetype size, qsizetype at) {
    const Utf8Lead lead = utf8Lead(p[at]);
    if (lead.continuation < 0)
        return 0;
    for (qsizetype i = 1; i <= lead.continuation; ++i) {
        if (at + i >= size)
            return 0;
        const unsigned char c = p[at + i];
        if (c < (i == 1 ? lead.lower : 0x80) || c > (i == 1 ? lead.upper : 0xBF))
            return 0;
    }
    return lead.continuation + 1;
}

} // namespace

Utf8Lead utf8Lead(unsigned char b) {
    if (b < 0x80)
        return {0};
    if (b >= 0xC2 && b <= 0xDF)
        return {1};
    if (b == 0xE0)
        return {2, 0xA0};
    if ((b >= 0xE1 && b <= 0xEC) || b == 0xEE || b == 0xEF)
        return {2};
    if (b == 0xED)
        return {2, 0x80, 0x9F};
    if (b == 0xF0)
        return {3, 0x90};
    if (b >= 0xF1 && b <= 0xF3)
        return {3};
    if (b == 0xF4)
        return {3, 0x80, 0x8F};
    return {};
}

QString decodePath(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype size = bytes.size();
    QString text;
    text.reserve(size);
    qsizetype runStart = 0;
    for (qsizetype at = 0; at < size;) {
        const qsizetype length = validSequenceAt(p, size, at);
        if (length > 0) {
            at += length;
            continue;
        }
        text.append(QString::fromUtf8(bytes.sliced(runStart, at - runStart)));
        text.append(QChar(char16_t(kKeptByteBase + (p[at] - 0x80))));
        runStart = ++at;
    }
    text.append(QString::fromUtf8(bytes.sliced(runStart)));
    return text;
}

QByteArray encodePath(const QString& path) {
    if (!holdsRawBytes(path))
        return path.toUtf8();
    QByteArray bytes;
    bytes.reserve(path.size());
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = path[i].unicode();
        const bool lone = QChar::isLowSurrogate(c) && (i == 0 || !path[i - 1].isHighSurrogate());
        if (!lone || c < kKeptByteBase || c > kKeptByteBase + 0x7F)
            continue;
        bytes.append(QStringView(path).sliced(runStart, i - runStart).toUtf8());
        bytes.append(static_cast<char>(0x80 + (c - kKeptByteBase)));
        runStart = i + 1;
    }
    bytes.append(QStringView(path).sliced(runStart).toUtf8());
    return bytes;
}

bool holdsRawBytes(const QString& path) {
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = path[i].unicode();
        if (c >= kKeptByteBase && c <= kKeptByteBase + 0x7F && (i == 0 || !path[i - 1].isHighSurrogate()))
            return true;
    }
    return false;
}

bool pathExists(const QString& path) {
    struct stat st {};
    return ::stat(encodePath(path).constData(), &st) == 0;
}

QString runningProgramFolder() {
#ifdef Q_OS_LINUX
    QByteArray target(4096, Qt::Uninitialized);
    const ssize_t size = ::readlink("/proc/self/exe", target.data(), static_cast<std::size_t>(target.size()));
    if (size <= 0 || size >= target.size())
        return {};
    target.truncate(size);
    const qsizetype slash = target.lastIndexOf('/');
    if (slash < 0)
        return {};
    return decodePath(slash == 0 ? QByteArrayView("/") : QByteArrayView(target).first(slash));
#else
    return {};
#endif
}

QStringList argumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    arguments.reserve(argc);
    for (int i = 0; i < argc; ++i)
        arguments.append(decodePath(QByteArrayView(argv[i])));
    return arguments;
}

} // namespace quillory
