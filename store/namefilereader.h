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
 *   the file UTF-32 or UTF-16; otherwise a file that is valid UTF-8 is read as UTF-8 and any other as
 *   Windows-1252, the encoding of older Windows files, so "H\xe9l\xe8ne" arrives as Hélène.
 * - A line ends at CR, LF or CR LF. Every apostrophe (') is removed. What remains of a line is one
 *   name, spaces, commas and tabs included, put in Unicode normalisation form C (so that an "é" typed
 *   as "e" and an accent is the same name as "é") and cut to its first kMaxNameLength characters. An
 *   empty line gives no name; a line that holds another control character (U+0000 to U+001F, U+007F
 *   to U+009F) or half of a surrogate pair is no name either: it is passed over and counted.
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
     * Reads from the start of an open, seekable device: the encoding is settled by a first pass over
     * the whole file. Throws AppError with the system's message when the device cannot be read, and
     * with notATextFile() when showsNoText() of its first 64 KB: a program or a picture, not a list
     * of names.
     */
    explicit NameFileReader(QIODevice& device);

    /** The next name, or nothing at the end. Throws AppError when the device fails to read. */
    std::optional<QString> next();

    /** How many lines were passed over so far because they hold a control character or half a pair. */
    qsizetype skippedLines() const { return m_skipped; }

private:
    enum class Encoding { Utf8, Utf16LE, Utf16BE, Utf32LE, Utf32BE, Windows1252 };

    void detectEncoding();
    QByteArray readChunk();
    QString decode(const QByteArray& chunk);
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
