#include "textoutput.h"

#include "core/apperror.h"
#include "core/listitems.h"
#include "core/procedures.h"

#include <QCoreApplication>
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

namespace {
std::function<void()> g_beforeReplace;
} // namespace

void setBeforeReplaceHook(std::function<void()> hook) {
    g_beforeReplace = std::move(hook);
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
    if (g_beforeReplace)
        g_beforeReplace();
    if (!file.commit())
        throw AppError(file.errorString());
}

QString doneMessage(const QString& path) {
    return QCoreApplication::translate("Form2", "Done.") + QStringLiteral("\r\r") + path + QStringLiteral("\r\n\r\n") +
           QCoreApplication::translate("Form2", "was created.");
}

} // namespace quillory
