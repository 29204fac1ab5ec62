#include "apppaths.h"

#include "appinfo.h"
#include "procedures.h"

#include <QCoreApplication>
#include <QDir>

namespace quillory {

AppPaths::AppPaths(QString programFolder) : m_programFolder(QDir::toNativeSeparators(programFolder)) {
    while (m_programFolder.size() > 1 && m_programFolder.endsWith(QDir::separator()) &&
           !m_programFolder.endsWith(QStringLiteral(":\\")))
        m_programFolder.chop(1);
}

AppPaths AppPaths::forRunningProgram() {
    return AppPaths(QCoreApplication::applicationDirPath());
}

QString AppPaths::besideProgram(const QString& name) const {
    return joinPath(m_programFolder, QDir::toNativeSeparators(name));
}

QString AppPaths::handCursorFile() const {
    return besideProgram(appinfo::kHandCursorFile);
}

QString AppPaths::skinFile() const {
    return besideProgram(appinfo::kSkinFile);
}

QString AppPaths::nameDatabaseFile() const {
    return besideProgram(appinfo::kNameDatabaseFile);
}

} // namespace quillory
