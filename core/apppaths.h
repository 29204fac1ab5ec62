#pragma once

#include <QString>

namespace quillory {

/**
 * Where the program's own files are: the program folder and the files beside it. Built from a folder,
 * so tests point it at a temporary one.
 */
class AppPaths {
public:
    explicit AppPaths(QString programFolder);

    /** The folder of the running program file (the application must exist). */
    static AppPaths forRunningProgram();

    /** The program folder, without a trailing separator (a root keeps its own). */
    const QString& programFolder() const { return m_programFolder; }

    /** A file beside the program: the program folder, the separator, the name. */
    QString besideProgram(const QString& name) const;

    QString handCursorFile() const;
    QString skinFile() const;
    /** The name database, names.mdb. */
    QString nameDatabaseFile() const;

private:
    QString m_programFolder;
};

} // namespace quillory
