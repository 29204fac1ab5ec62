#pragma once

#include <QString>
#include <QStringList>

namespace quillory {

class ListItems;

/** The kinds of file "Save As…" writes. */
enum class SaveAsType { Text, Csv, JsonLines, WorkbookOneCell, WorkbookTwoCells };

/** The file dialog's filters, one per type in the order of SaveAsType, in the user's language. */
QStringList saveAsFilters();
/** The type of the filter chosen (by its place in saveAsFilters()), or of the file's ending when none is. */
SaveAsType saveAsTypeOf(int filterIndex, const QString& path);
/** The path with the ending its type takes, unless it has one of its own. */
QString withTypeEnding(const QString& path, SaveAsType type);

/**
 * Writes the results to `path` as `type`, the way every file is written (see OutputFile):
 * - text: one name a line, UTF-8, LF;
 * - CSV and JSON lines as quillory-cli writes them (a header `first_name,last_name`, CR LF, quoted only
 *   where needed; one object a line);
 * - a workbook with the whole name in column A, or the first name in A and the last name in B.
 * The parts are those drawn, whatever spaces they hold, when the results are a NameRun; otherwise
 * each item is a name of its own ("name"). Throws AppError with the system's reason.
 */
void saveNamesAs(const ListItems& names, SaveAsType type, const QString& path);

} // namespace quillory
