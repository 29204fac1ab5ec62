#pragma once

#include "core/apppaths.h"

#include <QByteArray>
#include <QTemporaryDir>

namespace quillory::test {

/** A private temporary folder for one test, with an empty program folder inside it. */
class TempWorkspace {
public:
    TempWorkspace();

    /** The whole workspace. */
    QString root() const { return m_dir.path(); }
    /** The folder that stands in for the program's own. */
    QString programFolder() const;
    AppPaths paths() const { return AppPaths(programFolder()); }

    /** A path inside the workspace. */
    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    /** Writes a file inside the workspace (folders are created) and returns its path. */
    QString writeFile(const QString& relative, const QByteArray& bytes) const;

private:
    QTemporaryDir m_dir;
};

/** The program's own hand pointer file, as built beside the program. */
QByteArray shippedHandCursor();

} // namespace quillory::test
