#include "namefilereader.h"

#include "core/apperror.h"
#include "namedatabase.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QStringDecoder>

#include <cstring>

namespace quillory {

namespace {

constexpr qint64 kChunkSize = 64 * 1024;

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
    // A lead byte: how many continuation bytes follow, and the range of the first one that rules out
    // overlong forms, surrogates and code points above U+10FFFF.
    void start(unsigned char b) {
        if (b < 0x80)
            return;
        if (b >= 0xC2 && b <= 0xDF)
            m_need = 1;
        else if (b == 0xE0)
            m_need = 2, m_lower = 0xA0;
        else if ((b >= 0xE1 && b <= 0xEC) || b == 0xEE || b == 0xEF)
            m_need = 2;
        else if (b == 0xED)
            m_need = 2, m_upper = 0x9F;
        else if (b == 0xF0)
            m_need = 3, m_lower = 0x90;
        else if (b >= 0xF1 && b <= 0xF3)
            m_need = 3;
        else if (b == 0xF4)
            m_need = 3, m_upper = 0x8F;
        else
            m_ok = false;
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

bool startsWith(const QByteArray& bytes, const char* mark) {
    return bytes.startsWith(QByteArrayView(mark));
}

} // namespace

QString notATextFile() {
    return QCoreApplication::translate("quillory", "Not a text file");
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

QString NameFileReader::decode(const QByteArray& chunk) {
    if (m_encoding == Encoding::Windows1252)
        return fromWindows1252(chunk);
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
    case Encoding::Windows1252:
        break;
    }
    return {};
}

qsizetype NameFileReader::unfinishedTail(const QByteArray& bytes) const {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype size = bytes.size();
    if (m_encoding == Encoding::Utf8) {
        // Back over at most three continuation bytes to a lead byte whose character is not complete.
        for (qsizetype back = 1; back <= 4 && back <= size; ++back) {
            const unsigned char b = p[size - back];
            if ((b & 0xC0) == 0x80)
                continue;
            const qsizetype length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
            return length > back ? back : 0;
        }
        return 0;
    }
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
    qsizetype mark = 0;
    if (startsWith(first, "\xEF\xBB\xBF")) {
        mark = 3;
    } else if (startsWith(first, "\xFF\xFE")) {
        m_encoding = Encoding::Utf16LE;
        mark = 2;
    } else if (startsWith(first, "\xFE\xFF")) {
        m_encoding = Encoding::Utf16BE;
        mark = 2;
    } else {
        Utf8Check check;
        for (QByteArray chunk = first; !chunk.isEmpty() && check.ok(); chunk = readChunk())
            check.feed(chunk);
        if (!check.valid())
            m_encoding = Encoding::Windows1252;
    }
    // A NUL has no place in a text file of names outside UTF-16: this is a program, a picture or a
    // workbook picked by mistake, whose bytes would otherwise become names.
    if (m_encoding != Encoding::Utf16LE && m_encoding != Encoding::Utf16BE && first.contains('\0'))
        throw AppError(notATextFile());
    if (!m_device.seek(mark))
        throw AppError(m_device.errorString());
}

void NameFileReader::gather(const QChar* piece, qsizetype size) {
    for (qsizetype i = 0; i < size && m_nameLength <= kMaxNameLength; ++i) {
        const QChar c = piece[i];
        if (c == u'\'')
            continue;
        // Past the length limit the rest of the line is dropped, but never half a character.
        if (c.isLowSurrogate() && !m_name.isEmpty() && m_name.back().isHighSurrogate()) {
            m_name.append(c);
        } else if (m_nameLength < kMaxNameLength) {
            m_name.append(c);
            ++m_nameLength;
        } else {
            ++m_nameLength; // full: the rest of the line is skipped without a look
        }
    }
}

std::optional<QString> NameFileReader::takeName() {
    m_nameLength = 0;
    if (m_name.isEmpty())
        return std::nullopt;
    return std::exchange(m_name, QString());
}

std::optional<QString> NameFileReader::next() {
    for (;;) {
        const QChar* text = m_text.constData();
        const qsizetype size = m_text.size();
        while (m_position < size) {
            qsizetype end = m_position;
            while (end < size && text[end] != u'\r' && text[end] != u'\n')
                ++end;
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

} // namespace quillory
