#include "textoutput.h"

#include "core/apperror.h"
#include "core/listitems.h"
#include "core/procedures.h"

#include <QSaveFile>

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
    QSaveFile file(path);
    // Writing straight into the earlier file would destroy it on a failure part-way.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        throw AppError(file.errorString());
    if (file.write(content) != content.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw AppError(reason);
    }
    if (!file.commit())
        throw AppError(file.errorString());
}

QString doneMessage(const QString& path) {
    return QStringLiteral("Done.\r\r") + path + QStringLiteral("\r\n\r\nwas created.");
}

} // namespace quillory
