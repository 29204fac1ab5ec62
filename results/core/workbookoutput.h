#pragma once

#include <QString>
#include <QStringView>

#include <memory>
#include <string>
#include <vector>

struct lxw_workbook;
struct lxw_worksheet;
class QDateTime;

namespace quillory {
class OutputFile;
}

/** The spreadsheet outputs: the results list as a new .xlsx workbook, one name per row. */
namespace quillory {

/** The two pieces of a name that "Excel (2 cells)" puts in columns A and B. */
struct NamePieces {
    QStringView first;
    QStringView second;
};

/**
 * Splits a name at its spaces: the first piece is the text before the first space, the second the
 * text between the first space and the next space or the end. A name without a space is all first
 * piece. Only the space character splits.
 */
NamePieces splitAtSpaces(QStringView name);

/**
 * The width a column needs to show `text` whole, in the spreadsheet's width units (the width of a
 * digit of the default font, Calibri 11). The text is measured with that font's widths, so a column of
 * "Illi" is narrower than one of "Mawm" of the same length.
 */
double columnWidthFor(QStringView text);

/**
 * Removes the files in `folder` last written more than a day before `now`: workbooks handed over
 * earlier, which their application has long since read. A file that cannot be removed stays.
 */
void removeStaleWorkbooks(const QString& folder, const QDateTime& now);

/**
 * A new workbook's path in `folder` (created when missing, stale files removed first), named after
 * `now` so that the user recognises it where an application shows the file's name, and never the
 * name of a file already there. Throws AppError when the folder cannot be made.
 */
QString newWorkbookPath(const QString& folder, const QDateTime& now);

/** What the user is told when a workbook file could not be written whole. */
QString workbookNotWrittenInFull();

/**
 * Whether the file at `path` is a whole workbook archive whose sheet reads to its end. The writer
 * does not notice every failed write (a full disk may leave an archive cut short, or a whole archive
 * around a sheet cut short), so a workbook is checked before anyone is given it.
 */
bool isWholeWorkbook(const QString& path);

/**
 * A new workbook with one sheet, written row by row with little memory whatever the number of rows:
 * each row goes to a temporary file as soon as the next one starts. Rows must be written in order.
 * Cells hold text only, exactly as given: "0123" and "=1+1" stay text.
 *
 * The file is written as every output is (see OutputFile) and appears at `path` only once finish()
 * has written it in full. A workbook handed to an application is new and read-only, so that the
 * application can only save the names somewhere else; a workbook the user asked for by name replaces
 * any earlier file of that name. A workbook dropped unfinished leaves no file.
 */
class NamesWorkbook {
public:
    enum class Placement { HandedOver, Replacing };

    /**
     * Creates the workbook and its sheet. `waitForReader`: whether a named pipe at `path` is waited
     * for (a script's) or refused at once (a window's). Throws AppError on failure.
     */
    explicit NamesWorkbook(QString path, Placement placement = Placement::HandedOver, bool waitForReader = true,
                           int columns = kColumns);
    ~NamesWorkbook();

    NamesWorkbook(const NamesWorkbook&) = delete;
    NamesWorkbook& operator=(const NamesWorkbook&) = delete;

    /** The columns of a workbook of names: first and last names. */
    static constexpr int kColumns = 2;

    /** Writes `text` into the cell at 0-based `row` and `column` (below the columns); empty text leaves it empty. */
    void write(qsizetype row, int column, QStringView text);
    /** Writes a whole number into the cell, as a number that a spreadsheet sorts and sums (a year). */
    void writeNumber(qsizetype row, int column, int number);

    /** Fits each column that holds text to its widest text. */
    void fitColumns();

    /**
     * Writes the file, checks that it reads back whole, and puts it in place. Throws AppError on
     * failure, and then leaves no file.
     */
    void finish();

    const QString& path() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<OutputFile> m_output;
    QString m_contentPath;
    std::string m_tmpdir;
    lxw_workbook* m_book = nullptr;
    lxw_worksheet* m_sheet = nullptr;
    std::vector<double> m_widths; // the widest text of each column, in pixels
    std::string m_cell;
};

} // namespace quillory
