#pragma once

#include "generator/people.h"
#include "peoplewriter.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace quillory {

class ListItems;
class NameRun;

/** The kinds of file "Save As…" writes. */
enum class SaveAsType {
    Text,
    Csv,
    JsonLines,
    WorkbookOneCell,
    WorkbookTwoCells,
    CsvPeople,
    JsonLinesPeople,
    CsvEveryField,
    JsonLinesEveryField
};

/** Whether the type writes every field of the people, their places included. */
inline bool withEveryField(SaveAsType type) {
    return type == SaveAsType::CsvEveryField || type == SaveAsType::JsonLinesEveryField;
}

/** Whether the type writes the people behind the names as well as the names. */
inline bool withPeople(SaveAsType type) {
    return type == SaveAsType::CsvPeople || type == SaveAsType::JsonLinesPeople || withEveryField(type);
}

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

/** The births of a first name by sex and period; both empty for a name without births. */
using BirthsOf = std::function<NameBirthSpans(const QString& firstName)>;

/**
 * Writes the names of a run and the people behind them (CsvPeople or JsonLinesPeople): the fields
 * first_name and last_name (those the run keeps), sex, birth_year, birth_date, title and email, as
 * quillory-cli --fields writes them. Each person is drawn by PersonDraw from the second sequence of
 * the run's people seed, row after row, with the run's rules; the same run gives the same file
 * every time, and a seeded run the rows quillory-cli gives with that seed and the same lists and
 * choices. Results that are no run are written as saveNamesAs() writes CSV or JSON lines.
 */
void savePeopleAs(const ListItems& names, SaveAsType type, const QString& path, const BirthsOf& birthsOf,
                  std::shared_ptr<const Places> places = nullptr);

/** Every field of a run's people, as the "every field" types write them: the parts the run keeps, then the rest. */
std::vector<PersonField> everyField(const NameRun& run);

/** The fields of the people that the people files hold besides the names, in their order. */
std::vector<PersonField> peopleFields();

/**
 * Writes a record of `fields` per name of `run` to `sink`, the people behind the names drawn as
 * savePeopleAs() draws them: the same run gives the same people in whichever fields.
 */
void writeRunPeople(const NameRun& run, std::vector<PersonField> fields, RecordFormat format, const BirthsOf& birthsOf,
                    std::unique_ptr<ByteSink> sink, std::shared_ptr<const Places> places = nullptr);

} // namespace quillory
