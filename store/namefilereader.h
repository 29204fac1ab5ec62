#pragma once

#include <QString>

#include <optional>

class QIODevice;

namespace quillory {

/**
 * The names of a text file, one per line, read in pieces so that a file of any size, or a line of
 * megabytes, needs little memory.
 *
 * - Encoding: a UTF-8 byte-order mark is skipped; a UTF-16 mark (either byte order) makes the file
 *   UTF-16; otherwise a file that is valid UTF-8 is read as UTF-8 and any other as Windows-1252, the
 *   encoding of older Windows files, so "H\xe9l\xe8ne" arrives as Hélène.
 * - A line ends at CR, LF or CR LF. Every apostrophe (') is removed. What remains of a line is one
 *   name, spaces, commas and tabs included; an empty line gives no name. A name is cut to its first
 *   kMaxNameLength characters.
 */
/** What a file that is no text file is told: "Not a text file", in the user's language. */
QString notATextFile();

class NameFileReader {
public:
    /**
     * Reads from the start of an open, seekable device: the encoding is settled by a first pass over
     * the whole file. Throws AppError with the system's message when the device cannot be read, and
     * with notATextFile() when the file's first 64 KB hold a NUL byte and no UTF-16 byte-order mark
     * announces it: a program or a picture, not a list of names.
     */
    explicit NameFileReader(QIODevice& device);

    /** The next name, or nothing at the end. Throws AppError when the device fails to read. */
    std::optional<QString> next();

private:
    enum class Encoding { Utf8, Utf16LE, Utf16BE, Windows1252 };

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
    QString m_name;       // the name being gathered
    int m_nameLength = 0; // its length in characters (a surrogate pair counts once); past the limit, full
    bool m_atEnd = false;
};

} // namespace quillory
