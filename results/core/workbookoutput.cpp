#include "workbookoutput.h"

#include "core/apperror.h"
#include "core/nativepath.h"
#include "core/outputfile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <xlsxwriter.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

namespace quillory {

namespace {

// Advance widths in pixels of Calibri 11 at 96 dpi, the default font of a new workbook, for the
// printable ASCII characters from the space on. A digit is 7 pixels: one width unit.
constexpr unsigned char kAsciiPixels[95] = {
    3, 3, 5, 7, 7, 10, 10, 3, 4, 4, 7, 7, 3,  4, 4,  6,     // space ! " # $ % & ' ( ) * + , - . /
    7, 7, 7, 7, 7, 7,  7,  7, 7, 7,                         // 0-9
    4, 4, 7, 7, 7, 6,  13,                                  // : ; < = > ? @
    8, 8, 8, 9, 7, 7,  9,  9, 4, 5, 8, 6, 12, 9, 10, 8, 10, // A-Q
    8, 7, 7, 9, 8, 13, 8,  7, 7,                            // R-Z
    4, 6, 4, 7, 7, 4,                                       // [ \ ] ^ _ `
    7, 8, 6, 8, 7, 4,  7,  8, 3, 4, 7, 3, 12, 8, 8,  8, 8,  // a-q
    5, 6, 5, 8, 7, 10, 6,  7, 6,                            // r-z
    4, 7, 4, 7,                                             // { | } ~
};
constexpr double kDigitPixels = 7.0;
constexpr int kWidestPixels = 15;
// The spreadsheet's limit on a column's width.
constexpr double kMaxColumnWidth = 255.0;

int pixelsOf(char16_t c) {
    if (c >= 0x20 && c < 0x7f)
        return kAsciiPixels[c - 0x20];
    switch (c) {
    case u'Œ':
        return 13;
    case u'Æ':
    case u'œ':
        return 12;
    case u'æ':
        return 11;
    case u'ß':
        return 7;
    default:
        break;
    }
    const QChar ch(c);
    if (ch.category() == QChar::Mark_NonSpacing)
        return 0;
    if (c < 0x20 || (c >= 0x7f && c < 0xa0))
        return 0;
    // An accented letter is as wide as its base letter.
    const QString decomposed = ch.decomposition();
    if (!decomposed.isEmpty() && decomposed[0].unicode() >= 0x20 && decomposed[0].unicode() < 0x7f)
        return kAsciiPixels[decomposed[0].unicode() - 0x20];
    // East Asian scripts and symbols take a full square.
    if (c >= 0x2e80)
        return kWidestPixels;
    return 8;
}

int pixelsOf(QStringView text) {
    int pixels = 0;
    for (const QChar c : text)
        pixels += pixelsOf(c.unicode());
    return pixels;
}

bool isHex(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

/** Whether `text` holds the escape form "_xHHHH_" at `at`, which readers would turn into a character. */
bool escapeFormAt(QStringView text, qsizetype at) {
    if (text.size() - at < 7 || text[at] != u'_' || text[at + 1] != u'x' || text[at + 6] != u'_')
        return false;
    for (qsizetype i = at + 2; i < at + 6; ++i)
        if (!isHex(text[i].unicode()))
            return false;
    return true;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xc0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3f));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xe0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (c & 0x3f));
    } else {
        out += static_cast<char>(0xf0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3f));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (c & 0x3f));
    }
}

/**
 * The cell text as the writer takes it: UTF-8 without a NUL. The sheet's own escape "_xHHHH_"
 * carries what XML cannot: a NUL becomes "_x0000_", U+FFFE and U+FFFF "_xFFFE_" and "_xFFFF_", and a name that itself
 * holds such a form gets its underscore escaped, so that it reads back as typed. The writer escapes the other control
 * characters.
 */
void toCellText(QStringView text, std::string& out) {
    out.clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == 0) {
            out += "_x0000_";
        } else if (c == 0xFFFE || c == 0xFFFF) {
            // No character XML allows: the sheet's escape carries it, as it does a NUL.
            out += c == 0xFFFE ? "_xFFFE_" : "_xFFFF_";
        } else if (c == u'_' && escapeFormAt(text, i)) {
            out += "_x005F_";
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            appendUtf8(out, QChar::surrogateToUcs4(c, text[i + 1].unicode()));
            ++i;
        } else if (QChar::isSurrogate(c)) {
            appendUtf8(out, QChar::ReplacementCharacter);
        } else {
            appendUtf8(out, c);
        }
    }
}

QString writerError(lxw_error error) {
    return QString::fromUtf8(lxw_strerror(error));
}

// The sheet's part in the archive, as the writer names it.
constexpr QByteArrayView kSheetEntry("xl/worksheets/sheet1.xml");
constexpr qint64 kLocalHeaderSize = 30;
constexpr qint64 kEndRecordSize = 22;
constexpr qint64 kDirectoryHeaderSize = 46;

quint32 le16(const QByteArray& bytes, qsizetype at) {
    return quint32(quint8(bytes[at])) | quint32(quint8(bytes[at + 1])) << 8;
}

quint32 le32(const QByteArray& bytes, qsizetype at) {
    return le16(bytes, at) | le16(bytes, at + 2) << 16;
}

struct ZipEntry {
    qint64 compressedSize;
    qint64 size;
    qint64 localHeaderOffset;
};

/**
 * The entry `name` of the archive's central directory. The archive must end with its end record
 * right after the directory, as a whole archive written without a comment does.
 */
std::optional<ZipEntry> findZipEntry(QFile& file, QByteArrayView name) {
    const qint64 size = file.size();
    if (size < kEndRecordSize || !file.seek(size - kEndRecordSize))
        return std::nullopt;
    const QByteArray end = file.read(kEndRecordSize);
    if (end.size() != kEndRecordSize || !end.startsWith(QByteArrayView("PK\x05\x06")) || le16(end, 20) != 0)
        return std::nullopt;
    const qint64 directorySize = le32(end, 12);
    const qint64 directoryOffset = le32(end, 16);
    if (directoryOffset + directorySize != size - kEndRecordSize || !file.seek(directoryOffset))
        return std::nullopt;
    const QByteArray directory = file.read(directorySize);
    if (directory.size() != directorySize)
        return std::nullopt;
    for (qsizetype at = 0; at + kDirectoryHeaderSize <= directory.size();) {
        if (!QByteArrayView(directory).sliced(at).startsWith(QByteArrayView("PK\x01\x02")))
            return std::nullopt;
        const qsizetype nameLength = le16(directory, at + 28);
        const qsizetype next =
            at + kDirectoryHeaderSize + nameLength + le16(directory, at + 30) + le16(directory, at + 32);
        if (next > directory.size())
            return std::nullopt;
        if (QByteArrayView(directory).sliced(at + kDirectoryHeaderSize, nameLength) == name)
            return ZipEntry{le32(directory, at + 20), le32(directory, at + 24), le32(directory, at + 42)};
        at = next;
    }
    return std::nullopt;
}

} // namespace

NamePieces splitAtSpaces(QStringView name) {
    const qsizetype firstSpace = name.indexOf(u' ');
    if (firstSpace < 0)
        return {name, {}};
    const QStringView rest = name.sliced(firstSpace + 1);
    const qsizetype nextSpace = rest.indexOf(u' ');
    return {name.first(firstSpace), nextSpace < 0 ? rest : rest.first(nextSpace)};
}

double columnWidthFor(QStringView text) {
    if (text.isEmpty())
        return 0.0;
    // One digit's width of margin, as a fitted column leaves beside its widest text.
    return std::min((pixelsOf(text) + kDigitPixels) / kDigitPixels, kMaxColumnWidth);
}

void removeStaleWorkbooks(const QString& folder, const QDateTime& now) {
    const QDateTime cutoff = now.addDays(-1);
    QDirIterator files(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    while (files.hasNext()) {
        files.next();
        const QFileInfo info = files.fileInfo();
        if (info.lastModified() >= cutoff)
            continue;
        // Workbooks are left read-only; on some systems that alone would keep them.
        QFile::setPermissions(info.filePath(), info.permissions() | QFile::WriteOwner | QFile::WriteUser);
        QFile::remove(info.filePath());
    }
}

QString newWorkbookPath(const QString& folder, const QDateTime& now) {
    if (!QDir().mkpath(folder))
        throw AppError(
            QCoreApplication::translate("quillory", "Path not found: %1").arg(QDir::toNativeSeparators(folder)));
    removeStaleWorkbooks(folder, now);
    const QString stem =
        QDir(folder).filePath(QStringLiteral("Names ") + now.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")));
    QString path = stem + QStringLiteral(".xlsx");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = stem + QStringLiteral(" (%1).xlsx").arg(n);
    return path;
}

bool isWholeWorkbook(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const std::optional<ZipEntry> sheet = findZipEntry(file, kSheetEntry);
    if (!sheet || !file.seek(sheet->localHeaderOffset))
        return false;
    const QByteArray local = file.read(kLocalHeaderSize);
    if (local.size() != kLocalHeaderSize || !local.startsWith(QByteArrayView("PK\x03\x04")) ||
        le16(local, 8) != Z_DEFLATED ||
        !file.seek(sheet->localHeaderOffset + kLocalHeaderSize + le16(local, 26) + le16(local, 28)))
        return false;

    // Inflate the sheet as a reader would, keeping only its last bytes.
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return false;
    const auto ending = QByteArrayView("</worksheet>");
    std::vector<unsigned char> in(1 << 16), out(1 << 18);
    QByteArray tail;
    qint64 unread = sheet->compressedSize;
    qint64 inflated = 0;
    int status = Z_OK;
    while (status == Z_OK && unread > 0) {
        const qint64 got = file.read(reinterpret_cast<char*>(in.data()), std::min<qint64>(unread, qint64(in.size())));
        if (got <= 0)
            break;
        unread -= got;
        stream.next_in = in.data();
        stream.avail_in = static_cast<uInt>(got);
        do {
            stream.next_out = out.data();
            stream.avail_out = static_cast<uInt>(out.size());
            status = inflate(&stream, Z_NO_FLUSH);
            const auto produced = static_cast<qsizetype>(out.size() - stream.avail_out);
            inflated += produced;
            tail.append(reinterpret_cast<const char*>(out.data()), produced);
            if (tail.size() > ending.size())
                tail.remove(0, tail.size() - ending.size());
        } while (status == Z_OK && stream.avail_out == 0);
    }
    inflateEnd(&stream);
    return status == Z_STREAM_END && unread == 0 && inflated == sheet->size && tail == ending;
}

QString workbookNotWrittenInFull() {
    return QCoreApplication::translate("quillory", "The workbook could not be written in full");
}

NamesWorkbook::NamesWorkbook(QString path, Placement placement, bool waitForReader, int columns)
    : m_path(std::move(path)), m_widths(static_cast<std::size_t>(std::max(columns, 1)), 0.0) {
    // A workbook handed over is new and read-only, so that its application can only save the names
    // somewhere else; one asked for by name replaces what is there, as every output does.
    OutputFile::Rules rules{.waitForReader = waitForReader};
    if (placement == Placement::HandedOver) {
        rules.mustBeNew = true;
        rules.newFileMode = 0444;
    }
    m_output = std::make_unique<OutputFile>(m_path, rules);
    m_contentPath = m_output->contentPath();
    // Constant memory: each row is written out when the next begins, into a temporary file kept
    // beside the workbook rather than in a temporary folder that may live in memory.
    if (m_output->writesThrough()) {
        m_tmpdir = scratchFolder().toStdString();
    } else {
        const QByteArray target = encodePath(m_path);
        const qsizetype slash = target.lastIndexOf('/');
        m_tmpdir = slash < 0 ? "." : slash == 0 ? "/" : target.left(slash).toStdString();
    }
    if (m_tmpdir.empty())
        m_tmpdir = "/tmp";
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = m_tmpdir.data();
    m_book = workbook_new_opt(encodePath(m_contentPath).constData(), &options);
    if (m_book == nullptr)
        throw AppError(writerError(LXW_ERROR_MEMORY_MALLOC_FAILED));
    m_sheet = workbook_add_worksheet(m_book, nullptr);
    if (m_sheet == nullptr) {
        lxw_workbook_free(std::exchange(m_book, nullptr));
        throw AppError(writerError(LXW_ERROR_CREATING_TMPFILE));
    }
}

NamesWorkbook::~NamesWorkbook() {
    // Unfinished: nothing has been written to the workbook's path, and its temporary file goes with it.
    if (m_book != nullptr)
        lxw_workbook_free(m_book);
}

void NamesWorkbook::write(qsizetype row, int column, QStringView text) {
    if (m_book == nullptr || column < 0 || column >= static_cast<int>(m_widths.size()))
        throw AppError(writerError(LXW_ERROR_PARAMETER_VALIDATION));
    if (text.isEmpty())
        return;
    if (row > LXW_ROW_MAX - 1)
        throw AppError(writerError(LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE));
    toCellText(text, m_cell);
    const lxw_error error = worksheet_write_string(m_sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column),
                                                   m_cell.c_str(), nullptr);
    if (error != LXW_NO_ERROR)
        throw AppError(writerError(error));
    // Only a text that could be wider than the widest so far is measured.
    double& widest = m_widths[static_cast<std::size_t>(column)];
    if (text.size() * kWidestPixels > widest)
        widest = std::max(widest, static_cast<double>(pixelsOf(text)));
}

void NamesWorkbook::writeNumber(qsizetype row, int column, int number) {
    if (m_book == nullptr || column < 0 || column >= static_cast<int>(m_widths.size()))
        throw AppError(writerError(LXW_ERROR_PARAMETER_VALIDATION));
    if (row > LXW_ROW_MAX - 1)
        throw AppError(writerError(LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE));
    const lxw_error error =
        worksheet_write_number(m_sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column), number, nullptr);
    if (error != LXW_NO_ERROR)
        throw AppError(writerError(error));
    double& widest = m_widths[static_cast<std::size_t>(column)];
    widest = std::max(widest, static_cast<double>(pixelsOf(QString::number(number))));
}

void NamesWorkbook::fitColumns() {
    if (m_book == nullptr)
        throw AppError(writerError(LXW_ERROR_PARAMETER_VALIDATION));
    for (int column = 0; column < static_cast<int>(m_widths.size()); ++column) {
        const double pixels = m_widths[static_cast<std::size_t>(column)];
        if (pixels <= 0.0)
            continue;
        const double width = std::min((pixels + kDigitPixels) / kDigitPixels, kMaxColumnWidth);
        const auto col = static_cast<lxw_col_t>(column);
        const lxw_error error = worksheet_set_column(m_sheet, col, col, width, nullptr);
        if (error != LXW_NO_ERROR)
            throw AppError(writerError(error));
    }
}

void NamesWorkbook::finish() {
    if (m_book == nullptr)
        throw AppError(writerError(LXW_ERROR_PARAMETER_VALIDATION));
    // The rows wait in a temporary file whose write failures the writer does not check: a row lost
    // there would be a row missing from the workbook.
    errno = 0;
    if (FILE* rows = m_sheet->optimize_tmpfile; rows != nullptr && (std::fflush(rows) != 0 || std::ferror(rows))) {
        const int code = errno;
        const QString reason = code != 0 ? QString::fromLocal8Bit(std::strerror(code)) : workbookNotWrittenInFull();
        lxw_workbook_free(std::exchange(m_book, nullptr));
        throw AppError(reason);
    }
    const lxw_error error = workbook_close(std::exchange(m_book, nullptr));
    if (error != LXW_NO_ERROR)
        throw AppError(writerError(error));
    if (!isWholeWorkbook(m_contentPath))
        throw AppError(workbookNotWrittenInFull());
    m_output->commit();
}

} // namespace quillory
