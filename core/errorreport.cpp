#include "errorreport.h"

#include "appinfo.h"
#include "dialogs.h"

namespace quillory {

QString ErrorLocationTag(const QString& module, const QString& procedure) {
    return QStringLiteral("in ") + appinfo::kTagProject + appinfo::kTagVersionDate + u'.' + module + u'.' + procedure +
           u' ';
}

QString errorReportText(const QString& description, const QString& tag, int line) {
    return description + QStringLiteral("\r\n") + tag + QStringLiteral("at line ") + QString::number(line) +
           QStringLiteral("\r\r") + QStringLiteral("Please email screenshot of this message to ") +
           appinfo::kSupportEmail;
}

void ErrorReport(Dialogs& dialogs, const QString& tag, int line, const QString& description) {
    dialogs.message(kErrorReportTitle, errorReportText(description, tag, line), MessageIcon::Warning);
}

} // namespace quillory
