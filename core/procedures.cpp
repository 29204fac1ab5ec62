#include "procedures.h"

#include "apperror.h"
#include "appinfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace quillory {

namespace {

// Replaces each pair of consecutive separators by one, left to right, without overlap.
QString foldPairs(QStringView path, QChar separator) {
    QString out;
    out.reserve(path.size());
    for (qsizetype i = 0; i < path.size(); ++i) {
        out.append(path[i]);
        if (path[i] == separator && i + 1 < path.size() && path[i + 1] == separator)
            ++i;
    }
    return out;
}

bool isApostrophe(char32_t c) {
    return c == U'\'' || c == U'\u2019' || c == U'\u02BC';
}

// ASCII answers without a table lookup: most names are plain ASCII.
bool isSpaceChar(char32_t c) {
    return c < 0x80 ? c == U' ' || (c >= U'\t' && c <= U'\r') : QChar::isSpace(c);
}
bool isLetterChar(char32_t c) {
    return c < 0x80 ? (c | 0x20) >= U'a' && (c | 0x20) <= U'z' : QChar::isLetter(c);
}
char32_t titleCaseOf(char32_t c) {
    return c < 0x80 ? (c >= U'a' && c <= U'z' ? c - 32 : c) : QChar::toTitleCase(c);
}
char32_t lowerCaseOf(char32_t c) {
    return c < 0x80 ? (c >= U'A' && c <= U'Z' ? c + 32 : c) : QChar::toLower(c);
}

QString g_applicationTitle = appinfo::kDisplayName;

} // namespace

bool FileIsPresent(const QString& path) {
    if (path.isEmpty())
        return false;
    return QFileInfo::exists(path);
}

bool FolderIsPresent(const QString& path) {
    if (path.isEmpty())
        return false;
    return QFileInfo(path).isDir();
}

QString FixBackslashes(const QString& path) {
    const QChar backslash(u'\\');
    if (!path.startsWith(backslash))
        return foldPairs(path, backslash);
    qsizetype k = 1;
    while (k < path.size() && path[k] == backslash)
        ++k;
    return QStringLiteral("\\\\") + foldPairs(QStringView(path).mid(k), backslash);
}

QString FixPathSeparators(const QString& path) {
#ifdef Q_OS_WIN
    return FixBackslashes(path);
#else
    return foldPairs(path, QChar(u'/'));
#endif
}

QString joinPath(const QString& folder, const QString& name) {
    return FixPathSeparators(folder + QDir::separator() + name);
}

QString RemoveSpaces(const QString& text) {
    QString out = text;
    out.remove(QChar(u' '));
    return out;
}

QString ProperCase(const QString& text) {
    // Simple case mappings keep every character in its plane, so the text keeps its length and
    // can be changed in place.
    QString out = text;
    QChar* chars = out.data();
    const qsizetype size = out.size();
    bool partStart = true;    // the next letter opens a word or a part of one
    qsizetype partLength = 0; // characters in the current part so far
    bool partIsOneLetter = false;

    for (qsizetype i = 0; i < size; ++i) {
        char32_t c = chars[i].unicode();
        const bool pair = QChar::isHighSurrogate(c) && i + 1 < size && chars[i + 1].isLowSurrogate();
        if (pair)
            c = QChar::surrogateToUcs4(chars[i], chars[i + 1]);

        if (isSpaceChar(c) || c == U'-') {
            partStart = true;
            partLength = 0;
            continue;
        }
        if (isApostrophe(c)) {
            // D'Almeida: a one-letter elision opens a new part; Prud'homme does not.
            partStart = partLength == 1 && partIsOneLetter;
            partLength = partStart ? 0 : partLength + 1;
            continue;
        }
        char32_t mapped;
        if (partStart) {
            mapped = titleCaseOf(c);
            // Judged by what is written out, so that a proper-cased text stays as it is.
            partIsOneLetter = isLetterChar(mapped);
            partStart = false;
        } else {
            mapped = lowerCaseOf(c);
        }
        ++partLength;
        if (pair) {
            chars[i] = QChar(QChar::highSurrogate(mapped));
            chars[++i] = QChar(QChar::lowSurrogate(mapped));
        } else {
            chars[i] = QChar(static_cast<char16_t>(mapped));
        }
    }
    return out;
}

QString appTitleFor(const QString& displayName) {
    QString title = displayName;
    do {
        const qsizetype space = title.lastIndexOf(u' ');
        if (space < 0)
            break;
        title.truncate(space);
    } while (title.size() > 40);
    return title;
}

void SetAppTitle() {
    g_applicationTitle = appTitleFor(appinfo::kDisplayName);
}

QString applicationTitle() {
    return g_applicationTitle;
}

QString GetDesktopPath() {
    QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    // Many accounts have no desktop folder (a server, a fresh account, a desktop without icons): the
    // home folder stands in for it, so that the first save goes somewhere that exists.
    if (!desktop.isEmpty() && !QFileInfo(desktop).isDir())
        desktop = QDir::homePath();
    if (desktop.isEmpty())
        throw AppError(QCoreApplication::translate("quillory", "Invalid procedure call or argument"));
    const QString native = QDir::toNativeSeparators(desktop);
    return native.endsWith(QDir::separator()) ? native : native + QDir::separator();
}

QString GetCacheFolder() {
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (cache.isEmpty())
        throw AppError(QCoreApplication::translate("quillory", "Invalid procedure call or argument"));
    return QDir::toNativeSeparators(cache);
}

} // namespace quillory
