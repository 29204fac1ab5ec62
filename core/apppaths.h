#pragma once

#include <QString>

#include <functional>

namespace quillory {

/**
 * Where names.mdb is opened, and, for a user who may not write the program folder, the installed
 * file that the user's own copy is made from the first time it is needed.
 */
struct NameDatabasePlace {
    NameDatabasePlace(QString file = {}, QString madeFrom = {}) // NOLINT: a path alone is a place
        : file(std::move(file)), madeFrom(std::move(madeFrom)) {}

    QString file;
    /** The installed names.mdb that `file` is copied from when it does not exist yet; empty when `file` is it. */
    QString madeFrom;
};

/**
 * Where the program's own files are: the program folder and the files beside it, and the user's data
 * folder. Built from folders, so tests point it at temporary ones.
 */
class AppPaths {
public:
    /** Whether the user may write a file or folder; tests answer it themselves. */
    using WriteCheck = std::function<bool(const QString& path)>;

    /**
     * Paths in `programFolder`. With a `userDataFolder`, a program folder the user may not write
     * (an installed program) keeps the user's names in that folder instead.
     */
    explicit AppPaths(QString programFolder, QString userDataFolder = {}, WriteCheck mayWrite = userMayWrite);

    /** The folder of the running program file (the application must exist) and the user's data folder. */
    static AppPaths forRunningProgram();

    /** The system's answer: the current user may write the path (POSIX access()). */
    static bool userMayWrite(const QString& path);

    /** The program folder, without a trailing separator (a root keeps its own). */
    const QString& programFolder() const { return m_programFolder; }
    /** The user's own folder for the program's data (~/.local/share/Obrenna/Quillory), or empty text. */
    const QString& userDataFolder() const { return m_userDataFolder; }

    /** A file beside the program: the program folder, the separator, the name. */
    QString besideProgram(const QString& name) const;

    QString handCursorFile() const;
    QString skinFile() const;

    /**
     * names.mdb as every action opens it: the program folder's when the user may write it (a build
     * folder, an unpacked copy), or when it is missing from a folder the user may write; otherwise,
     * and always in an installed program folder (one that holds the INSTALLED marker), the user's
     * own copy in the user data folder, made from the program folder's.
     */
    NameDatabasePlace nameDatabase() const;
    /** The file nameDatabase() opens. */
    QString nameDatabaseFile() const { return nameDatabase().file; }

private:
    QString m_programFolder;
    QString m_userDataFolder;
    WriteCheck m_mayWrite;
};

} // namespace quillory
