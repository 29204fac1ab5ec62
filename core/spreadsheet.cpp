#include "spreadsheet.h"

#include <QCoreApplication>

#include "apperror.h"
#include "dialogs.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

namespace quillory {

namespace {

/** Where LibreOffice installs itself when it is not on the program search path. */
QStringList libreOfficeFolders() {
#if defined(Q_OS_WIN)
    return {QStringLiteral("C:/Program Files/LibreOffice/program"),
            QStringLiteral("C:/Program Files (x86)/LibreOffice/program")};
#elif defined(Q_OS_MACOS)
    return {QStringLiteral("/Applications/LibreOffice.app/Contents/MacOS")};
#else
    return {QStringLiteral("/opt/libreoffice/program"), QStringLiteral("/usr/lib/libreoffice/program")};
#endif
}

bool desktopHasWorkbookDefault() {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    // The freedesktop MIME database names the default application of a type; without the query
    // tool there is no desktop to ask.
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"),
                 QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet")});
    if (!query.waitForFinished(5000) || query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return false;
    return !query.readAllStandardOutput().trimmed().isEmpty();
#else
    // Windows and macOS always have a file-type association mechanism; an unassigned type is
    // reported when the open fails.
    return true;
#endif
}

} // namespace

QString noSpreadsheetMessage() {
    return QCoreApplication::translate("quillory",
                                       "No spreadsheet application was found that can open .xlsx workbooks");
}

SpreadsheetApplication::SystemLookup SpreadsheetApplication::thisSystem() {
    return {
        .findProgram =
            [](const QString& name) {
                const QString onPath = QStandardPaths::findExecutable(name);
                return onPath.isEmpty() ? QStandardPaths::findExecutable(name, libreOfficeFolders()) : onPath;
            },
        .desktopOpensWorkbooks = desktopHasWorkbookDefault,
    };
}

std::optional<SpreadsheetApplication> SpreadsheetApplication::lookFor(const SystemLookup& lookup) {
    for (const QString& name : {QStringLiteral("soffice"), QStringLiteral("libreoffice")}) {
        QString program = lookup.findProgram(name);
        if (!program.isEmpty())
            return libreOffice(std::move(program));
    }
    if (lookup.desktopOpensWorkbooks())
        return desktopDefault();
    return std::nullopt;
}

SpreadsheetApplication SpreadsheetApplication::find(const SystemLookup& lookup) {
    if (std::optional<SpreadsheetApplication> found = lookFor(lookup))
        return std::move(*found);
    throw AppError(noSpreadsheetMessage());
}

SpreadsheetApplication SpreadsheetApplication::libreOffice(QString program) {
    return SpreadsheetApplication(std::move(program));
}

SpreadsheetApplication SpreadsheetApplication::desktopDefault() {
    return SpreadsheetApplication(QString());
}

void SpreadsheetApplication::open(Dialogs& dialogs, const QString& workbook) const {
    if (m_program.isEmpty())
        dialogs.openDocument(workbook);
    else
        dialogs.startProgram(m_program, {QStringLiteral("-n"), QDir::toNativeSeparators(workbook)});
}

} // namespace quillory
