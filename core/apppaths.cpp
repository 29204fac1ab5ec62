#include "apppaths.h"

#include "appinfo.h"
#include "nativepath.h"
#include "procedures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace quillory {

AppPaths::AppPaths(QString programFolder, QString userDataFolder, WriteCheck mayWrite)
    : m_programFolder(QDir::toNativeSeparators(programFolder)),
      m_userDataFolder(QDir::toNativeSeparators(userDataFolder)), m_mayWrite(std::move(mayWrite)) {
    while (m_programFolder.size() > 1 && m_programFolder.endsWith(QDir::separator()) &&
           !m_programFolder.endsWith(QStringLiteral(":\\")))
        m_programFolder.chop(1);
}

AppPaths AppPaths::forRunningProgram() {
    // The folder's bytes, as they are: Qt's own answer loses a name that is not UTF-8.
    const QString folder = runningProgramFolder();
    return AppPaths(folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder,
                    QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

bool AppPaths::userMayWrite(const QString& path) {
#ifdef Q_OS_UNIX
    return ::access(encodePath(path).constData(), W_OK) == 0;
#else
    return QFileInfo(path).isWritable();
#endif
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

NameDatabasePlace AppPaths::nameDatabase() const {
    const QString installed = besideProgram(appinfo::kNameDatabaseFile);
    // An installed folder stays the system's even for a user who may write it (root): a package
    // upgrade would replace whatever was stored there.
    const bool systemFolder = pathExists(besideProgram(appinfo::kInstalledMarkerFile));
    if (m_userDataFolder.isEmpty() ||
        (!systemFolder && m_mayWrite(m_programFolder) && (m_mayWrite(installed) || !pathExists(installed))))
        return {installed};
    return {joinPath(m_userDataFolder, appinfo::kNameDatabaseFile), installed};
}

} // namespace quillory
