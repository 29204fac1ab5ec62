#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

/**
 * File names as the system has them: bytes. A name that is valid UTF-8 is that text; any byte that is
 * not part of valid UTF-8 is kept as a lone surrogate (U+DC80 + the byte), which no valid UTF-8 text
 * decodes to, so that the name comes back byte for byte and still names that very file.
 */
namespace quillory {

/** The name of a file as text, every byte kept (see above). */
QString decodePath(QByteArrayView bytes);

/** The bytes of a name made by decodePath() (or of any text): UTF-8, with kept bytes given back. */
QByteArray encodePath(const QString& path);

/** Whether the name holds bytes that are not UTF-8, which Qt's own file classes cannot reach. */
bool holdsRawBytes(const QString& path);

/**
 * What a byte that starts a UTF-8 character says of those that follow it: how many there are, and
 * the range the first of them must lie in, which rules out overlong forms, surrogates and code points
 * above U+10FFFF. `continuation` is -1 for a byte that starts no character.
 */
struct Utf8Lead {
    int continuation = -1;
    unsigned char lower = 0x80;
    unsigned char upper = 0xBF;
};
Utf8Lead utf8Lead(unsigned char b);

/** Whether the name leads to something (links followed), whatever bytes it holds. */
bool pathExists(const QString& path);

/**
 * The folder of the running program file as decodePath() reads it, so that a folder whose name is
 * not UTF-8 is still that folder; empty text where the system does not tell.
 */
QString runningProgramFolder();

/** The program's arguments as decodePath() reads them, the program's name first. */
QStringList argumentsOf(int argc, char* argv[]);

} // namespace quillory
