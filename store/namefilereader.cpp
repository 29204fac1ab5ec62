#include "namefilereader.h"

#include "core/apperror.h"
#include "core/nativepath.h"
#include "core/outputfile.h"
#include "namedatabase.h"

#include <QCoreApplication>
#include <QFile>
#include <QIODevice>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillory {

namespace {

constexpr qint64 kChunkSize = 64 * 1024;
// Characters gathered of a line before it is normalised and cut: enough for any 50 characters
// however many accents each carries apart.
constexpr int kGatherLimit = 4 * kMaxNameLength;
// The most a pipe or a device may hand over, as the draws number a list's names in 32 bits.
constexpr qint64 kMostSpooled = qint64(1) << 32;

// Checks UTF-8 piece by piece: a character may span two pieces.
class Utf8Check {
public:
    void feed(QByteArrayView bytes) {
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
        const qsizetype size = bytes.size();
        for (qsizetype i = 0; i < size && m_ok; ++i) {
            const unsigned char b = p[i];
            if (m_need == 0) {
                // Plain ASCII, eight bytes at a time.
                while (i + 8 <= size) {
                    std::uint64_t word;
                    std::memcpy(&word, p + i, 8);
                    if (word & 0x8080808080808080ull)
                        break;
                    i += 8;
                }
                if (i >= size)
                    break;
                start(p[i]);
            } else if (b < m_lower || b > m_upper) {
                m_ok = false;
            } else {
                m_lower = 0x80;
                m_upper = 0xBF;
                --m_need;
            }
        }
    }

    /** No fault so far; the text may still end inside a character. */
    bool ok() const { return m_ok; }
    /** No fault, and the text read so far ends between characters. */
    bool valid() const { return m_ok && m_need == 0; }

private:
    void start(unsigned char b) {
        const Utf8Lead lead = utf8Lead(b);
        m_ok = lead.continuation >= 0;
        m_need = std::max(lead.continuation, 0);
        m_lower = lead.lower;
        m_upper = lead.upper;
    }

    int m_need = 0;
    unsigned char m_lower = 0x80;
    unsigned char m_upper = 0xBF;
    bool m_ok = true;
};

// Windows-1252 differs from Latin-1 only in 0x80 to 0x9F; its five unassigned bytes keep their
// Latin-1 meaning.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString fromWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        *out++ = QChar(b >= 0x80 && b < 0xA0 ? kWindows1252High[b - 0x80] : char16_t(b));
    }
    return text;
}

bool startsWith(QByteArrayView bytes, const char* mark, qsizetype size) {
    return bytes.startsWith(QByteArrayView(mark, size));
}

bool isUtf32Mark(QByteArrayView bytes) {
    return startsWith(bytes, "\xFF\xFE\0\0", 4) || startsWith(bytes, "\0\0\xFE\xFF", 4);
}

bool isUtf16Mark(QByteArrayView bytes) {
    return !isUtf32Mark(bytes) && (startsWith(bytes, "\xFF\xFE", 2) || startsWith(bytes, "\xFE\xFF", 2));
}

// A control character other than the tab (which a name may hold) and the line ends, or a noncharacter
// of the first plane (U+FDD0 to U+FDEF, U+FFFE, U+FFFF).
bool isForbidden(char16_t c) {
    return (c < 0x20 && c != u'\t') || (c >= 0x7F && c <= 0x9F) || (c >= 0xFDD0 && c <= 0xFDEF) || c >= 0xFFFE;
}

// Whether the pair makes one of the noncharacters of the other planes (U+1FFFE, U+1FFFF ... U+10FFFF).
bool isNoncharacterPair(char16_t high, char16_t low) {
    return (high & 0x3F) == 0x3F && low >= 0xDFFE;
}

// A line longer than this is judged by its first bytes (see NameFileReader).
constexpr qsizetype kLongestLineJudged = 64 * 1024;

// How many bytes at the end of UTF-8 text start a character that they do not complete.
qsizetype unfinishedUtf8(QByteArrayView bytes) {
    // Back over at most three continuation bytes to a lead byte whose character is not complete.
    for (qsizetype back = 1; back <= 4 && back <= bytes.size(); ++back) {
        const auto b = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if ((b & 0xC0) == 0x80)
            continue;
        const qsizetype length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        return length > back ? back : 0;
    }
    return 0;
}

bool isValidUtf8(QByteArrayView bytes, bool whole) {
    Utf8Check check;
    check.feed(bytes);
    return whole ? check.valid() : check.ok();
}

// A text whose characters all lie below U+0300, where the combining marks begin, is in form C already.
bool mayNeedNormalising(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() >= 0x300)
            return true;
    return false;
}

} // namespace

QString notATextFile() {
    return QCoreApplication::translate("quillory", "Not a text file");
}

QString notARegularFile() {
    return QCoreApplication::translate("quillory", "Not a regular file");
}

bool showsNoText(QByteArrayView first) {
    first = first.first(std::min<qsizetype>(first.size(), kChunkSize));
    return !isUtf16Mark(first) && !isUtf32Mark(first) && first.contains('\0');
}

NameFileReader::NameFileReader(QIODevice& device) : m_device(device) {
    detectEncoding();
}

QByteArray NameFileReader::readChunk() {
    // A device may hand out fewer bytes than asked for before its end; a piece is filled regardless,
    // so that the byte-order mark is always seen whole.
    QByteArray chunk(kChunkSize, Qt::Uninitialized);
    qint64 filled = 0;
    while (filled < kChunkSize) {
        const qint64 read = m_device.read(chunk.data() + filled, kChunkSize - filled);
        if (read < 0)
            throw AppError(m_device.errorString());
        if (read == 0)
            break;
        filled += read;
    }
    chunk.truncate(filled);
    return chunk;
}

QString NameFileReader::decodeByLine(const QByteArray& chunk) {
    const bool atEnd = chunk.isEmpty();
    const QByteArray bytes = std::exchange(m_pending, QByteArray()) + chunk;
    const char* p = bytes.constData();
    const qsizetype size = bytes.size();
    QString text;
    for (qsizetype at = 0; at < size;) {
        qsizetype end = at;
        while (end < size && p[end] != '\r' && p[end] != '\n')
            ++end;
        const QByteArrayView line(p + at, end - at);
        if (end == size && !atEnd) {
            // The line goes on in the next piece: it waits for its end to be judged whole, unless
            // it is too long for that, when its start decides for the rest of it.
            if (!m_lineEncoding && line.size() <= kLongestLineJudged) {
                m_pending = line.toByteArray();
                break;
            }
            if (!m_lineEncoding)
                m_lineEncoding =
                    isValidUtf8(line.first(kLongestLineJudged), false) ? Encoding::Utf8 : Encoding::Windows1252;
            if (*m_lineEncoding == Encoding::Windows1252) {
                text += fromWindows1252(line);
            } else {
                // The bytes of a character that the piece cuts wait for the next one.
                const qsizetype keep = unfinishedUtf8(line);
                text += QString::fromUtf8(line.first(line.size() - keep));
                m_pending = line.last(keep).toByteArray();
            }
            break;
        }
        const bool judgedWhole = line.size() <= kLongestLineJudged;
        const Encoding encoding = m_lineEncoding ? *m_lineEncoding
                                  : isValidUtf8(judgedWhole ? line : line.first(kLongestLineJudged), judgedWhole)
                                      ? Encoding::Utf8
                                      : Encoding::Windows1252;
        text += encoding == Encoding::Utf8 ? QString::fromUtf8(line) : fromWindows1252(line);
        m_lineEncoding.reset();
        if (end < size)
            text += QLatin1Char(p[end++]);
        at = end;
    }
    return text;
}

QString NameFileReader::decode(const QByteArray& chunk) {
    if (m_encoding == Encoding::Windows1252)
        return fromWindows1252(chunk);
    if (m_encoding == Encoding::ByLine)
        return decodeByLine(chunk);
    // Each piece is decoded on its own, up to its last whole character; the bytes of a character
    // that the piece cuts wait for the next one. A decoder carried across pieces would treat a
    // faulty sequence at a piece's end differently from the same bytes inside a piece.
    QByteArray bytes = std::exchange(m_pending, QByteArray()) + chunk;
    const qsizetype keep = chunk.isEmpty() ? 0 : unfinishedTail(bytes);
    m_pending = bytes.sliced(bytes.size() - keep);
    bytes.truncate(bytes.size() - keep);
    switch (m_encoding) {
    case Encoding::Utf8:
        return QString::fromUtf8(bytes);
    case Encoding::Utf16LE:
        return QStringDecoder(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless).decode(bytes);
    case Encoding::Utf16BE:
        return QStringDecoder(QStringConverter::Utf16BE, QStringConverter::Flag::Stateless).decode(bytes);
    case Encoding::Utf32LE:
        return QStringDecoder(QStringConverter::Utf32LE, QStringConverter::Flag::Stateless).decode(bytes);
    case Encoding::Utf32BE:
        return QStringDecoder(QStringConverter::Utf32BE, QStringConverter::Flag::Stateless).decode(bytes);
    case Encoding::Windows1252:
    case Encoding::ByLine:
        break;
    }
    return {};
}

qsizetype NameFileReader::unfinishedTail(const QByteArray& bytes) const {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype size = bytes.size();
    if (m_encoding == Encoding::Utf8)
        return unfinishedUtf8(bytes);
    if (m_encoding == Encoding::Utf32LE || m_encoding == Encoding::Utf32BE)
        return size % 4;
    // UTF-16: an odd byte, and a high surrogate whose low half may follow.
    const qsizetype odd = size % 2;
    if (size - odd < 2)
        return odd;
    const qsizetype at = size - odd - 2;
    const char16_t unit =
        m_encoding == Encoding::Utf16LE ? char16_t(p[at] | p[at + 1] << 8) : char16_t(p[at] << 8 | p[at + 1]);
    return odd + (QChar::isHighSurrogate(unit) ? 2 : 0);
}

void NameFileReader::detectEncoding() {
    QByteArray first = readChunk();
    // A NUL has no place in a text file of names outside UTF-16 and UTF-32: this is a program, a
    // picture or a workbook picked by mistake, whose bytes would otherwise become names.
    if (showsNoText(first))
        throw AppError(notATextFile());
    qsizetype mark = 0;
    if (startsWith(first, "\xEF\xBB\xBF", 3)) {
        mark = 3;
    } else if (startsWith(first, "\xFF\xFE\0\0", 4)) {
        m_encoding = Encoding::Utf32LE;
        mark = 4;
    } else if (startsWith(first, "\0\0\xFE\xFF", 4)) {
        m_encoding = Encoding::Utf32BE;
        mark = 4;
    } else if (startsWith(first, "\xFF\xFE", 2)) {
        m_encoding = Encoding::Utf16LE;
        mark = 2;
    } else if (startsWith(first, "\xFE\xFF", 2)) {
        m_encoding = Encoding::Utf16BE;
        mark = 2;
    } else {
        m_encoding = Encoding::ByLine;
    }
    if (!m_device.seek(mark))
        throw AppError(m_device.errorString());
}

void NameFileReader::gather(const QChar* piece, qsizetype size) {
    for (qsizetype i = 0; i < size && m_gathered < kGatherLimit; ++i) {
        const QChar c = piece[i];
        if (c == u'\'')
            continue;
        m_name.append(c);
        // The second half of a pair is part of its character; past the limit the rest is dropped.
        if (!(c.isLowSurrogate() && m_name.size() > 1 && m_name[m_name.size() - 2].isHighSurrogate()))
            ++m_gathered;
    }
}

std::optional<QString> NameFileReader::takeName() {
    const bool halfPair = std::exchange(m_afterHigh, false);
    const bool bad = std::exchange(m_lineBad, false) || halfPair;
    m_gathered = 0;
    QString name = std::exchange(m_name, QString());
    if (bad) {
        ++m_skipped;
        return std::nullopt;
    }
    if (name.isEmpty())
        return std::nullopt;
    if (mayNeedNormalising(name))
        name = name.normalized(QString::NormalizationForm_C);
    return truncatedName(name);
}

std::optional<QString> NameFileReader::next() {
    for (;;) {
        const QChar* text = m_text.constData();
        const qsizetype size = m_text.size();
        while (m_position < size) {
            qsizetype end = m_position;
            for (; end < size; ++end) {
                const char16_t c = text[end].unicode();
                // Printable ASCII, most of any file, needs no further look.
                if (c - 0x20u < 0x5Fu && !m_afterHigh)
                    continue;
                if (c == u'\r' || c == u'\n')
                    break;
                if (QChar::isHighSurrogate(c)) {
                    m_lineBad |= m_afterHigh;
                    m_afterHigh = true;
                    m_high = c;
                    continue;
                }
                m_lineBad |= m_afterHigh != QChar::isLowSurrogate(c) || isForbidden(c) ||
                             (m_afterHigh && isNoncharacterPair(m_high, c));
                m_afterHigh = false;
            }
            gather(text + m_position, end - m_position);
            m_position = end;
            if (end < size) {
                ++m_position; // an empty line, or the LF of a CR LF, gives no name
                if (auto name = takeName())
                    return name;
            }
        }
        if (m_atEnd)
            return takeName();
        const QByteArray chunk = readChunk();
        m_atEnd = chunk.isEmpty();
        m_text = decode(chunk);
        m_position = 0;
    }
}

namespace {

[[noreturn]] void failWith(int errorNumber) {
    throw AppError(systemMessage(errorNumber));
}

// A pipe or a device read to its end into an unnamed file of its own; refused as soon as its first
// bytes show it is no text.
int spool(int from) {
    const QByteArray folder = encodePath(qEnvironmentVariable("TMPDIR", QStringLiteral("/tmp")));
    int to = ::open(folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (to < 0) {
        FILE* file = std::tmpfile();
        if (file == nullptr)
            failWith(errno);
        to = ::fcntl(::fileno(file), F_DUPFD_CLOEXEC, 3);
        std::fclose(file);
        if (to < 0)
            failWith(errno);
    }
    QByteArray buffer(kChunkSize, Qt::Uninitialized);
    qint64 total = 0;
    bool looked = false;
    qsizetype filled = 0;
    for (;;) {
        const ssize_t got = ::read(from, buffer.data() + filled, static_cast<std::size_t>(kChunkSize - filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const int code = errno;
            ::close(to);
            failWith(code);
        }
        filled += got;
        if (got > 0 && filled < kChunkSize)
            continue; // the first look needs the first 64 KB whole
        if (!looked && showsNoText(QByteArrayView(buffer.constData(), filled))) {
            ::close(to);
            throw AppError(notATextFile());
        }
        looked = true;
        total += filled;
        if (total > kMostSpooled) {
            ::close(to);
            failWith(EFBIG);
        }
        for (qsizetype done = 0; done < filled;) {
            const ssize_t put = ::write(to, buffer.constData() + done, static_cast<std::size_t>(filled - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put < 0) {
                const int code = errno;
                ::close(to);
                failWith(code);
            }
            done += put;
        }
        filled = 0;
        if (got == 0)
            break;
    }
    ::lseek(to, 0, SEEK_SET);
    return to;
}

} // namespace

std::unique_ptr<QIODevice> openNameFile(const QString& path, bool devicesToo) {
    const QByteArray name = encodePath(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0)
        failWith(errno);
    if (S_ISDIR(st.st_mode))
        failWith(EISDIR);
    if (!S_ISREG(st.st_mode) && !devicesToo)
        throw AppError(notARegularFile());
    // Where only files are read, nothing may wait: a pipe put there since the look opens at once.
    const int flags = O_RDONLY | O_CLOEXEC | O_NOCTTY | (devicesToo ? 0 : O_NONBLOCK);
    int fd = -1;
    do
        fd = ::open(name.constData(), flags);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        failWith(errno);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (!devicesToo || S_ISDIR(st.st_mode)) {
            ::close(fd);
            if (S_ISDIR(st.st_mode))
                failWith(EISDIR);
            throw AppError(notARegularFile());
        }
        const int spooled = [&] {
            try {
                return spool(fd);
            } catch (...) {
                ::close(fd);
                throw;
            }
        }();
        ::close(fd);
        fd = spooled;
    } else if (flags & O_NONBLOCK) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    }
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw AppError(file->errorString());
    }
    return file;
}

} // namespace quillory
