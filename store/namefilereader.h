#pragma once

#include <QString>

#include <memory>
#include <optional>

class QIODevice;

namespace quillory {

/**
 * The names of a text file, one per line, read in pieces so that a file of any size, or a line of
 * megabytes, needs little memory.
 *
 * - Encoding: a UTF-8 byte-order mark is skipped; a UTF-32 or UTF-16 mark (either byte order) makes
 *   the file UTF-32 or UTF-16; otherwise each line is read on its own: a line that is valid UTF-8 as
 *   UTF-8, any other as Windows-1252, the encoding of older Windows files, so "H\xe9l\xe8ne" arrives
 *   as Hélène, and one stray byte spoils only its own line. (A line longer than 64 KB is judged by its
 *   first 64 KB.)
 * - A line ends at CR, LF or CR LF. Every apostrophe (') is removed. What remains of a line is one
 *   name, spaces, commas and tabs included, put in Unicode normalisation form C (so that an "é" typed
 *   as "e" and an accent is the same name as "é") and cut to its first kMaxNameLength characters. An
 *   empty line gives no name; a line that holds another control character (U+0000 to U+001F, U+007F
 *   to U+009F), a noncharacter (U+FDD0 to U+FDEF, and the last two code points of every plane, such as
 *   U+FFFE and U+FFFF) or half of a surrogate pair is no name either: it is passed over and counted.
 */
/** What a file that is no text file is told: "Not a text file", in the user's language. */
QString notATextFile();
/** What a device or a pipe is told where only files are read: "Not a regular file". */
QString notARegularFile();

/** Whether the first bytes of a file (up to 64 KB) show it is no text file: a NUL outside UTF-16 or UTF-32. */
bool showsNoText(QByteArrayView first);

class NameFileReader {
public:
    /**
     * Reads from the start of an open, seekable device. Throws AppError with the system's message when the device
     * cannot be read, and with notATextFile() when showsNoText() of its first 64 KB: a program or a picture, not a list
     * of names.
     */
    explicit NameFileReader(QIODevice& device);

    /** The next name, or nothing at the end. Throws AppError when the device fails to read. */
    std::optional<QString> next();

    /** How many lines were passed over so far because they hold a control character or half a pair. */
    qsizetype skippedLines() const { return m_skipped; }

private:
    // ByLine: no mark; each line UTF-8 when it is valid UTF-8, else Windows-1252.
    enum class Encoding { Utf8, Utf16LE, Utf16BE, Utf32LE, Utf32BE, Windows1252, ByLine };

    void detectEncoding();
    QByteArray readChunk();
    QString decode(const QByteArray& chunk);
    QString decodeByLine(const QByteArray& chunk);
    qsizetype unfinishedTail(const QByteArray& bytes) const;
    void gather(const QChar* piece, qsizetype size);
    std::optional<QString> takeName();

    QIODevice& m_device;
    Encoding m_encoding = Encoding::Utf8;
    QByteArray m_pending; // the start of a character that the last piece cut
    QString m_text;       // decoded text not yet split into names
    qsizetype m_position = 0;
    QString m_name;           // the name being gathered
    int m_gathered = 0;       // its length in characters (a surrogate pair counts once)
    bool m_lineBad = false;   // the line holds a control character or half a pair: no name
    bool m_afterHigh = false; // the last character of the line so far is the first half of a pair
    char16_t m_high = 0;      // that half
    // ByLine: how the rest of a line longer than the longest judged whole is read, once judged.
    std::optional<Encoding> m_lineEncoding;
    bool m_atEnd = false;
    qsizetype m_skipped = 0;
};

/**
 * Opens a names file for NameFileReader, without ever waiting on a pipe that has no writer when
 * only regular files are taken. A regular file is read where it is. With `devicesToo`, a pipe or a
 * device is read to its end into a temporary file of its own first (little memory whatever its size),
 * and refused with notATextFile() as soon as its first 64 KB show it (/dev/zero, /dev/urandom);
 * without, it is refused with notARegularFile() before anything is read. Throws AppError with the
 * system's message otherwise (a missing file, a folder, no permission).
 */
std::unique_ptr<QIODevice> openNameFile(const QString& path, bool devicesToo);

} // namespace quillory
