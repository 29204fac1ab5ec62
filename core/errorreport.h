#pragma once

#include <QString>

namespace quillory {

class Dialogs;

/** Title of the report box for unexpected failures. */
inline const QString kErrorReportTitle = QStringLiteral("Application Error");

/**
 * The location tag of a guarded procedure, e.g. "in Tarvisk2021/08/31.Form1.Form_Load ".
 * The trailing space belongs to the tag; the report puts "at line " right after it.
 */
QString ErrorLocationTag(const QString& module, const QString& procedure);

/**
 * The report's message: the description, CR LF, the tag, "at line " and the number, CR CR, and the
 * request to e-mail a screenshot to the support address.
 */
QString errorReportText(const QString& description, const QString& tag, int line);

/** Shows the report as a modal warning box titled "Application Error" with an OK button. */
void ErrorReport(Dialogs& dialogs, const QString& tag, int line, const QString& description);

} // namespace quillory
