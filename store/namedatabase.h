#pragma once

#include "core/apppaths.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdint>
#include <map>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace quillory {

/** The most characters a stored name may have. */
inline constexpr int kMaxNameLength = 50;

/**
 * One connection to the name database, for one user action: open, any number of executes and
 * queries, close. Nothing is held between actions, and every executed statement is final at once.
 *
 * The file must exist: opening never creates it. Each connection waits for other copies of the
 * program that are writing (busy timeout), writes through a write-ahead log so a single insert is
 * final without a disk flush of its own, and knows the name order french_nocase.
 *
 * Every failure throws AppError with the engine's own message, for the guarded caller to report.
 */
class NameDatabase {
public:
    /**
     * A connection to the file of `place`. When the place names an installed file to copy from, the
     * first open makes the copy (see provideUserCopy()).
     */
    explicit NameDatabase(NameDatabasePlace place);
    ~NameDatabase();

    NameDatabase(const NameDatabase&) = delete;
    NameDatabase& operator=(const NameDatabase&) = delete;

    const QString& file() const { return m_file; }

    /**
     * How long a connection opened from now on waits for another copy's write lock before its
     * statement fails with "database is locked": 5 s unless changed. Tests shorten it.
     */
    static void setBusyTimeout(std::chrono::milliseconds timeout);
    static std::chrono::milliseconds busyTimeout();

    /**
     * Opens the file for reading and writing. A file that is not a names database (an empty file,
     * another format) is refused with notANamesDatabase() and left as it is.
     */
    void open();
    /**
     * Opens the file for reading only, changing nothing in it or beside it: never created, never
     * switched to another log mode, no lock or log file left, readable from a folder the user may not
     * write. A database whose log holds nothing is read from a copy in memory taken while no other
     * copy of the program changed it; one whose log holds changes is read through it. Never makes a
     * copy of an installed file. Failures name the file first ("FILE: reason").
     */
    void openForReading();
    bool isOpen() const { return m_db != nullptr; }
    /** True between a "begin" and its "commit" or "rollback", or until the engine rolled it back. */
    bool inTransaction() const;

    /** Runs an insert or delete; `values` are bound to ?1, ?2... in order. */
    void execute(const char* statement, const QStringList& values = {});

    /** The rowid of the row the connection's last successful insert stored. */
    std::int64_t lastInsertRowid() const;

    /** Closes the connection if it is open; otherwise does nothing. */
    void close();

    /**
     * Creates a new, empty name database with the five tables (for the build and for tests; the program
     * itself never creates one). Fails when something already exists at `file`.
     */
    static void create(const QString& file);

private:
    friend class NameQuery;
    friend class NameRows;

    sqlite3_stmt* prepared(const char* statement);
    [[noreturn]] void fail() const;

    QString m_file;
    QString m_madeFrom;
    sqlite3* m_db = nullptr;
    std::map<std::string, sqlite3_stmt*> m_statements;
};

/**
 * The rows of one query, read forward once: opening runs the statement up to its first row, then
 * value() gives the current row's column and moveNext() steps on until atEnd(). Only one query of a
 * connection reads at a time.
 */
class NameQuery {
public:
    /**
     * Opens the query; `column` names the result column that value() reads, in any letter case, and
     * `values` are bound to ?1, ?2... in order.
     */
    NameQuery(NameDatabase& database, const char* statement, const char* column, const QStringList& values = {});
    ~NameQuery();

    NameQuery(const NameQuery&) = delete;
    NameQuery& operator=(const NameQuery&) = delete;

    bool atEnd() const { return m_atEnd; }
    /** The current row's value as text; a missing value (NULL) reads as empty text. */
    QString value() const;
    /** The current row's column at `index` (0 for the first) as text. */
    QString textAt(int index) const;
    /** The current row's column at `index` (0 for the first) as a whole number; NULL reads as 0. */
    std::int64_t integer(int index) const;
    void moveNext();

private:
    NameDatabase& m_database;
    sqlite3_stmt* m_statement;
    int m_column = -1;
    bool m_atEnd = false;
};

/**
 * Makes the user's own copy of the installed names.mdb, unless it exists: the copy is written under a
 * temporary name in its folder (made when missing) and takes its name only once whole, so a failure
 * leaves nothing behind, and a copy already there is never replaced. Throws AppError, naming the copy,
 * when it cannot be made.
 */
void provideUserCopy(const QString& installed, const QString& copy);

/** What a file that is not a names database is told: "not a names database". */
QString notANamesDatabase();

/** The name as stored: its first kMaxNameLength characters, never cutting a character in two. */
QString truncatedName(const QString& name);

} // namespace quillory
