#pragma once

#include <QByteArray>
#include <QString>

/** The text output: the results list saved as results.txt in the save folder. */
namespace quillory {

class ListItems;

/** The file name the text output writes. */
inline const QString kResultsFileName = QStringLiteral("results.txt");

/**
 * Where the text output goes: the save folder, the separator and "results.txt", with the doubled
 * separator of a folder that already ends in one folded away.
 */
QString resultsFilePath(const QString& saveFolder);

/** The file's content: each name in list order followed by CR LF, in the system's 8-bit encoding. */
QByteArray resultsText(const ListItems& names);

/**
 * Writes `content` as the whole file at `path` (see OutputFile): a file there, or the file a link
 * there leads to, is replaced only once the new one is complete, so a failure (or a crash) never
 * leaves a half-written file and never harms the earlier one; a device or a named pipe is written
 * straight through. Throws AppError with the system's reason when the file cannot be written.
 */
void replaceFile(const QString& path, const QByteArray& content);

/** What the user is told once the file is written: "Done.", an empty line, the path, an empty line, "was created.". */
QString doneMessage(const QString& path);

} // namespace quillory
