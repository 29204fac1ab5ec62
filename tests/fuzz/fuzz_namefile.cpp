// The text-file reader: any bytes give names that fit the store (no line end, no apostrophe, no
// control character, in form C, at most 50 characters, never a character cut in two), and the same
// names however the bytes arrive; and a file of plain letters gives its lines back as they are.
#include "core/apperror.h"
#include "fuzzcheck.h"
#include "store/namedatabase.h"
#include "store/namefilereader.h"

#include <QBuffer>

#include <algorithm>

using namespace quillory;

namespace {

/** A file that hands out at most `step` bytes per read, as a slow device may. */
class TricklingDevice : public QIODevice {
public:
    TricklingDevice(QByteArray bytes, qint64 step) : m_bytes(std::move(bytes)), m_step(step) {}
    qint64 size() const override { return m_bytes.size(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 n = std::min({maxSize, m_step, qint64(m_bytes.size()) - pos()});
        std::memcpy(data, m_bytes.constData() + pos(), static_cast<size_t>(std::max<qint64>(n, 0)));
        return std::max<qint64>(n, 0);
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_step;
};

// The names of a file, or nothing when the reader refuses it as no text file.
std::optional<QStringList> namesOf(QIODevice& device) {
    device.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    try {
        NameFileReader reader(device);
        QStringList names;
        while (const std::optional<QString> name = reader.next())
            names << *name;
        return names;
    } catch (const AppError& error) {
        fuzz::check(error.message() == notATextFile(), "a buffer is only ever refused as no text file");
        return std::nullopt;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const qint64 step = 1 + data[0] % 7;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

    QByteArray copy = bytes;
    QBuffer whole(&copy);
    const std::optional<QStringList> read = namesOf(whole);
    // A UTF-32 mark begins like a UTF-16 one: either way the file is announced as holding NULs.
    const bool wide = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF") ||
                      bytes.startsWith(QByteArrayView("\0\0\xFE\xFF", 4));
    fuzz::check(read.has_value() == (wide || !bytes.first(std::min<qsizetype>(bytes.size(), 65536)).contains('\0')),
                "a file is refused exactly when its first 64 KB hold a NUL outside UTF-16 and UTF-32");
    const QStringList names = read.value_or(QStringList());
    for (const QString& name : names) {
        fuzz::check(!name.isEmpty(), "an empty line gives no name", name);
        fuzz::check(fuzz::characterCount(name) <= kMaxNameLength, "a name has at most 50 characters", name);
        fuzz::check(!name.contains(u'\r') && !name.contains(u'\n'), "a name holds no line end", name);
        fuzz::check(!name.contains(u'\''), "a name holds no apostrophe", name);
        fuzz::check(!fuzz::hasLoneSurrogate(name), "a name never holds half a surrogate pair", name);
        fuzz::check(std::none_of(name.begin(), name.end(),
                                 [](QChar c) {
                                     return (c.unicode() < 0x20 && c != u'\t') ||
                                            (c.unicode() >= 0x7F && c.unicode() <= 0x9F);
                                 }),
                    "a name holds no control character but the tab", name);
        const QList<uint> characters = name.toUcs4();
        fuzz::check(std::none_of(characters.begin(), characters.end(),
                                 [](uint c) { return (c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE; }),
                    "a name holds no noncharacter", name);
        fuzz::check(name == name.normalized(QString::NormalizationForm_C) ||
                        fuzz::characterCount(name) == kMaxNameLength,
                    "a name is in normalisation form C, unless the cut at 50 characters split a composition", name);
    }
    fuzz::check(names.size() <= bytes.count('\n') + bytes.count('\r') + 1, "at most one name per line");

    TricklingDevice trickle(bytes, step);
    fuzz::check(namesOf(trickle) == read, "the names do not depend on how the bytes arrive");

    // Acceptance: a file of lines of plain letters, with any line ends, gives each line back whole,
    // one name per line, in order.
    static const char* const kLetters[] = {"a", "b", "e", "j", "z", "A", "M", "Z", "\xC3\xA9", "\xC3\xAB", "\xC3\x87"};
    static const char* const kEnds[] = {"\n", "\r\n", "\r"};
    QByteArray file;
    QStringList lines;
    QString line;
    for (std::size_t i = 1; i < size; ++i) {
        const uint8_t b = data[i];
        if (b % 8 == 0 || line.size() == kMaxNameLength) {
            if (!line.isEmpty())
                lines << std::exchange(line, QString());
            file += kEnds[b % 3];
            continue;
        }
        const char* letter = kLetters[b % std::size(kLetters)];
        file += letter;
        line += QString::fromUtf8(letter);
    }
    if (!line.isEmpty())
        lines << line;
    QBuffer plain(&file);
    fuzz::check(namesOf(plain) == lines, "lines of plain letters come back one name per line, unchanged");
    return 0;
}
