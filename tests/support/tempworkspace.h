#pragma once

#include "core/apppaths.h"
#include "printers.h"

#include <QByteArray>
#include <QStringList>
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

    /** The user's settings file of this workspace (absent until something is stored). */
    QString settingsFile() const { return path(QStringLiteral("settings.ini")); }

    /** names.mdb in the program folder. */
    QString nameDatabase() const { return paths().nameDatabaseFile(); }
    /** Creates an empty names.mdb (the five tables, no rows) in the program folder. */
    void createNameDatabase() const;
    /** Puts a copy of the built-in names.mdb, as the build made it, in the program folder. */
    void installBuiltInNames() const;
    /**
     * Puts a names.mdb as version 1 of the built-in names had it in the program folder (or at `file`):
     * the built-in lists of data/ with every respelt surname spelt as it was shipped before, and no
     * version recorded. Returns its path.
     */
    QString installVersion1Names(const QString& file = {}) const;
    /** Stores names in a table of names.mdb, as they are given, in this order. */
    void storeNames(const char* table, const QStringList& names) const;
    /** The names of a table of names.mdb (or of another name database), in the order they were stored. */
    QStringList storedNames(const char* table, const QString& file = {}) const;
    /** Stores names in a table of another name database. */
    void storeNamesIn(const QString& file, const char* table, const QStringList& names) const;

private:
    QTemporaryDir m_dir;
};

/** The program's own hand pointer file, as built beside the program. */
QByteArray shippedHandCursor();

} // namespace quillory::test
