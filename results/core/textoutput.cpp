#include "textoutput.h"

#include "core/apperror.h"
#include "core/listitems.h"
#include "core/procedures.h"

#include "core/outputfile.h"

#include <QCoreApplication>

namespace quillory {

QString resultsFilePath(const QString& saveFolder) {
    return joinPath(saveFolder, kResultsFileName);
}

QByteArray resultsText(const ListItems& names) {
    QByteArray content;
    names.appendLines(content, "\r\n");
    return content;
}

void replaceFile(const QString& path, const QByteArray& content) {
    // A window never waits: a named pipe without a reader fails at once.
    OutputFile file(path, {.waitForReader = false});
    file.write(content);
    file.commit();
}

QString doneMessage(const QString& path) {
    return QCoreApplication::translate("Form2", "Done.") + QStringLiteral("\r\r") + path + QStringLiteral("\r\n\r\n") +
           QCoreApplication::translate("Form2", "was created.");
}

} // namespace quillory
