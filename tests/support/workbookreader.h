#pragma once

#include <QMap>
#include <QString>
#include <QVariant>

#include <vector>

namespace quillory::test {

/** One cell of a sheet that holds a value, 1-based as a spreadsheet numbers them. */
struct WorkbookCell {
    int row = 0;
    int column = 0;
    QString value;
    /** The cell's type as the reader has it: "s" for text, "n" for a number, "f" for a formula... */
    QString type;

    bool operator==(const WorkbookCell&) const = default;
};

/** What an independent reader finds in a workbook file: its first sheet's cells and column widths. */
struct WorkbookContent {
    QString error; // empty when the file was read
    int sheets = 0;
    std::vector<WorkbookCell> cells; // row by row, left to right; empty cells left out
    QMap<QString, double> widths;    // set column widths by column letter

    /** The texts of column `column` in row order, empty text for an empty cell, rows 1 to `rows`. */
    QStringList column(int column, int rows) const;
};

/** Reads a .xlsx file with openpyxl, which shares no code with the program's writer. */
WorkbookContent readWorkbook(const QString& path);

} // namespace quillory::test
