#include "namehistory.h"

#include "core/apperror.h"
#include "namedatabase.h"
#include "namestatements.h"

#include <sqlite3.h>

#include <array>
#include <cstring>

namespace quillory {

namespace {

struct TableStatements {
    std::string removeReturning; // appended to a delete of the table: the rows it removed
    std::string valueAt;         // a row when rowid ?1 holds the value ?2
    std::string insertAt;        // ?2 under rowid ?1, unless that rowid is taken
    std::string removeExact;
};

const TableStatements& statementsOf(NameTable table) {
    static const std::array<TableStatements, 5> all = [] {
        constexpr std::array<std::pair<const char*, const char*>, 5> tables{{{"system_mfirstname", "Mfirst"},
                                                                             {"system_ffirstname", "Ffirst"},
                                                                             {"system_lastname", "Last"},
                                                                             {"user_firstname", "firstname"},
                                                                             {"user_lastname", "lastname"}}};
        std::array<TableStatements, 5> made;
        for (std::size_t i = 0; i < tables.size(); ++i) {
            const std::string name = std::string("\"") + tables[i].first + "\"";
            const std::string column = std::string("\"") + tables[i].second + "\"";
            made[i] = {" returning rowid, " + column,
                       "select 1 from " + name + " where rowid = ?1 and " + column + " is ?2",
                       "insert or ignore into " + name + " (rowid, " + column + ") values (?1, ?2)",
                       "delete from " + name + " where rowid = ?1 and " + column + " is ?2"};
        }
        return made;
    }();
    return all[static_cast<std::size_t>(table)];
}

StoredRows& rowsOf(std::vector<StoredRows>& list, NameTable table) {
    for (StoredRows& rows : list)
        if (rows.table() == table)
            return rows;
    return list.emplace_back(table);
}

} // namespace

/** The engine's side of the history: statements run on an open connection, values bound as stored. */
class NameRows {
public:
    static void removeReturning(NameDatabase& database, const std::string& statement, const QStringList& values,
                                StoredRows& removed) {
        sqlite3_stmt* compiled = start(database, statement);
        for (int i = 0; i < values.size(); ++i) {
            const QByteArray text = values[i].toUtf8();
            if (sqlite3_bind_text(compiled, i + 1, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT) !=
                SQLITE_OK)
                database.fail();
        }
        int code = SQLITE_ROW;
        while ((code = sqlite3_step(compiled)) == SQLITE_ROW) {
            const int type = sqlite3_column_type(compiled, 1);
            std::string bytes;
            if (type == SQLITE_INTEGER) {
                const sqlite3_int64 number = sqlite3_column_int64(compiled, 1);
                bytes.assign(reinterpret_cast<const char*>(&number), sizeof number);
            } else if (type == SQLITE_FLOAT) {
                const double number = sqlite3_column_double(compiled, 1);
                bytes.assign(reinterpret_cast<const char*>(&number), sizeof number);
            } else if (type != SQLITE_NULL) {
                const auto* data = static_cast<const char*>(type == SQLITE_BLOB ? sqlite3_column_blob(compiled, 1)
                                                                                : sqlite3_column_text(compiled, 1));
                bytes.assign(data != nullptr ? data : "", static_cast<std::size_t>(sqlite3_column_bytes(compiled, 1)));
            }
            removed.add({sqlite3_column_int64(compiled, 0), type, bytes});
        }
        finish(database, compiled, code);
    }

    /** Runs a statement of ?1 = the row's rowid, ?2 = its value; true when it gave a row or changed one. */
    static bool runOnRow(NameDatabase& database, const std::string& statement, const StoredRows::Row& row) {
        sqlite3_stmt* compiled = start(database, statement);
        int bound = sqlite3_bind_int64(compiled, 1, row.rowid);
        if (bound == SQLITE_OK) {
            const std::string_view bytes = row.bytes;
            switch (row.type) {
            case SQLITE_INTEGER: {
                sqlite3_int64 number = 0;
                std::memcpy(&number, bytes.data(), sizeof number);
                bound = sqlite3_bind_int64(compiled, 2, number);
                break;
            }
            case SQLITE_FLOAT: {
                double number = 0;
                std::memcpy(&number, bytes.data(), sizeof number);
                bound = sqlite3_bind_double(compiled, 2, number);
                break;
            }
            case SQLITE_NULL:
                bound = sqlite3_bind_null(compiled, 2);
                break;
            case SQLITE_BLOB:
                bound = sqlite3_bind_blob64(compiled, 2, bytes.data(), bytes.size(), SQLITE_TRANSIENT);
                break;
            default:
                bound = sqlite3_bind_text64(compiled, 2, bytes.data(), bytes.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
                break;
            }
        }
        if (bound != SQLITE_OK)
            database.fail();
        const int code = sqlite3_step(compiled);
        // A query tells by its row; an insert or delete by the rows it changed.
        const bool gave = sqlite3_stmt_readonly(compiled) != 0
                              ? code == SQLITE_ROW
                              : code == SQLITE_DONE && sqlite3_changes(database.m_db) > 0;
        finish(database, compiled, code == SQLITE_ROW ? SQLITE_DONE : code);
        return gave;
    }

private:
    static sqlite3_stmt* start(NameDatabase& database, const std::string& statement) {
        sqlite3_stmt* compiled = database.prepared(statement.c_str());
        sqlite3_reset(compiled);
        sqlite3_clear_bindings(compiled);
        return compiled;
    }

    static void finish(NameDatabase& database, sqlite3_stmt* compiled, int code) {
        if (code != SQLITE_DONE) {
            const AppError error(QString::fromUtf8(sqlite3_errmsg(database.m_db)));
            sqlite3_reset(compiled);
            throw error;
        }
        sqlite3_reset(compiled);
    }
};

NameTable tableOfInsert(const char* statement) {
    if (std::strcmp(statement, statements::kInsertSystemLastName) == 0)
        return NameTable::SystemLast;
    if (std::strcmp(statement, statements::kInsertUserFirstName) == 0)
        return NameTable::UserFirst;
    if (std::strcmp(statement, statements::kInsertUserLastName) == 0)
        return NameTable::UserLast;
    return NameTable::FemaleFirst;
}

void StoredRows::add(const Row& row) {
    if (!m_runs.empty() && m_runs.back().count < UINT32_MAX &&
        row.rowid == m_runs.back().first + static_cast<std::int64_t>(m_runs.back().count))
        ++m_runs.back().count;
    else
        m_runs.push_back({row.rowid, 1});
    // Each value: its length and type packed in a base-128 number, then its bytes.
    std::uint64_t header = (static_cast<std::uint64_t>(row.bytes.size()) << 3) | static_cast<unsigned>(row.type);
    do {
        const auto low = static_cast<char>(header & 0x7f);
        header >>= 7;
        m_values.push_back(header != 0 ? static_cast<char>(low | 0x80) : low);
    } while (header != 0);
    m_values.append(row.bytes);
    ++m_size;
}

StoredRows::Row StoredRows::rowAt(std::int64_t rowid, std::size_t& at) const {
    std::uint64_t header = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(m_values[at++]);
        header |= static_cast<std::uint64_t>(byte & 0x7f) << shift;
        if ((byte & 0x80) == 0)
            break;
    }
    const auto length = static_cast<std::size_t>(header >> 3);
    const Row row{rowid, static_cast<int>(header & 7), std::string_view(m_values).substr(at, length)};
    at += length;
    return row;
}

void StoredRows::addText(std::int64_t rowid, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    add({rowid, SQLITE_TEXT, std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size()))});
}

bool NameChange::empty() const {
    return rows() == 0;
}

std::size_t NameChange::rows() const {
    std::size_t count = 0;
    for (const auto* list : {&added, &removed})
        for (const StoredRows& rows : *list)
            count += rows.size();
    return count;
}

void NameChange::insert(NameDatabase& database, const char* statement, const QString& name) {
    database.execute(statement, {name});
    keepAdded(tableOfInsert(statement), database.lastInsertRowid(), name);
}

void NameChange::keepAdded(NameTable table, std::int64_t rowid, const QString& text) {
    rowsOf(added, table).addText(rowid, text);
}

void NameChange::remove(NameDatabase& database, NameTable table, const char* statement, const QStringList& values) {
    NameRows::removeReturning(database, statement + statementsOf(table).removeReturning, values,
                              rowsOf(removed, table));
}

void NameHistory::record(NameChange change) {
    if (change.empty())
        return;
    m_undo.push_back(std::move(change));
    m_redo.clear();
}

NameHistory::Outcome NameHistory::undo(NameDatabase& database) {
    return replay(database, m_undo, m_redo, false);
}

NameHistory::Outcome NameHistory::redo(NameDatabase& database) {
    return replay(database, m_redo, m_undo, true);
}

NameHistory::Outcome NameHistory::replay(NameDatabase& database, std::vector<NameChange>& from,
                                         std::vector<NameChange>& to, bool forward) {
    if (from.empty())
        return Outcome::Done;
    const NameChange& change = from.back();
    const std::vector<StoredRows>& toRemove = forward ? change.removed : change.added;
    const std::vector<StoredRows>& toPutBack = forward ? change.added : change.removed;
    // What this replay really did, to be replayed the other way later.
    std::vector<StoredRows> removed;
    std::vector<StoredRows> putBack;
    bool changedSince = false;
    database.execute("begin immediate");
    try {
        for (const StoredRows& rows : toRemove) {
            const TableStatements& s = statementsOf(rows.table());
            StoredRows& done = rowsOf(removed, rows.table());
            rows.forEach([&](const StoredRows::Row& row) {
                if (NameRows::runOnRow(database, s.removeExact, row))
                    done.add(row);
            });
        }
        for (const StoredRows& rows : toPutBack) {
            const TableStatements& s = statementsOf(rows.table());
            StoredRows& done = rowsOf(putBack, rows.table());
            rows.forEach([&](const StoredRows::Row& row) {
                if (changedSince)
                    return;
                // A rowid taken by the very row (put back by another copy) counts as put back; taken by
                // another, the row cannot go back where it was.
                if (!NameRows::runOnRow(database, s.insertAt, row) && !NameRows::runOnRow(database, s.valueAt, row)) {
                    changedSince = true;
                    return;
                }
                done.add(row);
            });
        }
        database.execute(changedSince ? "rollback" : "commit");
    } catch (...) {
        if (database.inTransaction())
            database.execute("rollback");
        throw;
    }
    NameChange replayed{change.what, forward ? std::move(putBack) : std::move(removed),
                        forward ? std::move(removed) : std::move(putBack)};
    from.pop_back();
    if (changedSince)
        return Outcome::ChangedSince;
    to.push_back(std::move(replayed));
    return Outcome::Done;
}

} // namespace quillory
