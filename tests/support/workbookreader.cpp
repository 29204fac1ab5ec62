#include "workbookreader.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace quillory::test {

namespace {

// The system's Python, where the openpyxl package is installed.
const QString kPython = QStringLiteral("/usr/bin/python3");

const char kReader[] = R"(
import json, sys, openpyxl
book = openpyxl.load_workbook(sys.argv[1])
sheet = book.worksheets[0]
cells = [[c.row, c.column, c.value, c.data_type]
         for row in sheet.iter_rows() for c in row if c.value is not None]
widths = {letter: dim.width for letter, dim in sheet.column_dimensions.items() if dim.customWidth}
json.dump({"sheets": len(book.worksheets), "cells": cells, "widths": widths}, sys.stdout, ensure_ascii=True)
)";

} // namespace

QStringList WorkbookContent::column(int column, int rows) const {
    QStringList texts(rows);
    for (const WorkbookCell& cell : cells)
        if (cell.column == column && cell.row >= 1 && cell.row <= rows)
            texts[cell.row - 1] = cell.value;
    return texts;
}

WorkbookContent readWorkbook(const QString& path) {
    WorkbookContent content;
    QProcess reader;
    reader.start(kPython, {QStringLiteral("-c"), QString::fromUtf8(kReader), path});
    if (!reader.waitForFinished(120'000) || reader.exitStatus() != QProcess::NormalExit || reader.exitCode() != 0) {
        content.error = QStringLiteral("the reader failed on %1: %2")
                            .arg(QFileInfo(path).fileName(), QString::fromUtf8(reader.readAllStandardError()));
        return content;
    }
    const QJsonObject root = QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
    content.sheets = root.value(QStringLiteral("sheets")).toInt();
    for (const QJsonValue& item : root.value(QStringLiteral("cells")).toArray()) {
        const QJsonArray cell = item.toArray();
        content.cells.push_back({cell[0].toInt(), cell[1].toInt(), cell[2].toVariant().toString(), cell[3].toString()});
    }
    const QJsonObject widths = root.value(QStringLiteral("widths")).toObject();
    for (auto it = widths.begin(); it != widths.end(); ++it)
        content.widths.insert(it.key(), it.value().toDouble());
    return content;
}

} // namespace quillory::test
