#pragma once

#include "nameentry.h"

#include "core/apppaths.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace quillory {

class Dialogs;
class NameDatabase;
struct NameChange;

/**
 * Inserts names one after the other, as an import reads them, inside transactions of up to
 * kBatchSize names: one commit per name would make a large import crawl. Each transaction is short,
 * so another copy of the program writing to the same file gets its turn.
 *
 * A failed insert loses only itself: if the failure took the open transaction with it (a full disk,
 * an I/O error), the names of that transaction are inserted again one by one, and those that still
 * fail are kept for the caller to report (takeLost()).
 */
class BatchedInserts {
public:
    static constexpr int kBatchSize = 1000;

    /** Every row stored for good is kept in `change`, when given, for the action to be undone. */
    explicit BatchedInserts(NameDatabase& database, NameChange* change = nullptr)
        : m_database(database), m_change(change) {}
    /** Commits what is pending; a failure there is lost, so call finish() first. */
    ~BatchedInserts();

    BatchedInserts(const BatchedInserts&) = delete;
    BatchedInserts& operator=(const BatchedInserts&) = delete;

    /** Inserts one name; throws AppError when this name cannot be stored. */
    void insert(const char* statement, const QString& name);

    /** Commits what is pending; throws AppError when the commit fails (its names are retried first). */
    void finish();

    /** The failures of names retried after a lost transaction, since the last call. */
    QStringList takeLost() { return std::exchange(m_lost, {}); }

private:
    struct Pending {
        const char* statement;
        QString name;
        std::int64_t rowid;
    };

    void retryLostTransaction();
    void keep(const Pending& stored);

    NameDatabase& m_database;
    NameChange* m_change;
    std::vector<Pending> m_pending;
    QStringList m_lost;
};

/** What an import needs besides the file: where to report, the database, the source chosen now. */
struct ImportTarget {
    Dialogs& dialogs;
    NameDatabasePlace database;
    /** Asked anew for every name, as the options may say otherwise by then. */
    std::function<NameSource()> source;
    /** Where the stored rows are kept for the import to be undone, when given. */
    NameChange* change = nullptr;
};

/**
 * Stores every name of one text file (see NameFileReader) in the chosen source's table of that kind,
 * each failure reported under its own tag with the step that failed. A missing file gets the message
 * "File not found" and nothing else. A file that cannot be opened or read is reported once and ends
 * there; the names stored before stay stored. Lines that hold control characters are no names: once
 * the file is read, one message says how many were passed over.
 */
void FileToListview(const QString& path, NameKind kind, const ImportTarget& target);

/** What the user is told of the lines of a file that were no names (control characters) and were passed over. */
QString passedOverMessage(const QString& path, qsizetype lines);

} // namespace quillory
