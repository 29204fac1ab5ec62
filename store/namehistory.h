#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

class NameDatabase;

/** The five tables of names, each of one column. */
enum class NameTable : std::uint8_t { MaleFirst, FemaleFirst, SystemLast, UserFirst, UserLast };

/** The table an insert statement of namestatements.h stores into. */
NameTable tableOfInsert(const char* statement);

/**
 * Rows of one table as they were stored: each row's rowid and its value, of whatever type the file
 * held (text, a number, a blob or nothing), so that they can be put back exactly. Kept compactly, as
 * an import may add millions: rowids that follow one another cost nothing, and each value costs one
 * byte (two past 15 bytes) besides its own bytes.
 */
class StoredRows {
public:
    struct Row {
        std::int64_t rowid;
        /** The engine's type of the value (SQLITE_TEXT, SQLITE_INTEGER...). */
        int type;
        /** The value's bytes: UTF-8 text, a blob, or the 8 bytes of a number. */
        std::string_view bytes;
    };

    explicit StoredRows(NameTable table) : m_table(table) {}

    NameTable table() const { return m_table; }
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }

    void add(const Row& row);
    void addText(std::int64_t rowid, const QString& text);

    /** Calls `visit` with each row, in the order they were added. */
    template <typename Visit> void forEach(Visit&& visit) const {
        std::size_t at = 0;
        for (const Run& run : m_runs)
            for (std::uint32_t i = 0; i < run.count; ++i)
                visit(rowAt(run.first + i, at));
    }

private:
    struct Run {
        std::int64_t first;
        std::uint32_t count;
    };

    Row rowAt(std::int64_t rowid, std::size_t& at) const;

    NameTable m_table;
    std::size_t m_size = 0;
    std::vector<Run> m_runs;
    std::string m_values;
};

/** One user action on the stored names: the rows it added and the rows it removed, by table. */
struct NameChange {
    /** The action as the Edit menu names it: "Clear First Names". */
    QString what;
    std::vector<StoredRows> added = {};
    std::vector<StoredRows> removed = {};

    bool empty() const;
    std::size_t rows() const;

    /** Runs an insert of namestatements.h for `name` and keeps the row it stored. Throws AppError. */
    void insert(NameDatabase& database, const char* statement, const QString& name);
    /** Runs a delete of namestatements.h on `table` and keeps every row it removed. Throws AppError. */
    void remove(NameDatabase& database, NameTable table, const char* statement, const QStringList& values = {});

    /** Keeps a row that an insert of `table` just stored, with `text` as its value. */
    void keepAdded(NameTable table, std::int64_t rowid, const QString& text);
};

/**
 * The changes made to the stored names during this run of the program, to be undone and redone in
 * order. Undoing removes exactly the rows the action added (the same rowid holding the same value)
 * and puts back exactly the rows it removed, under their own rowids; redoing does the opposite. Each
 * is one transaction: all of it happens or none.
 *
 * Another copy of the program may have changed the names meanwhile. A row the action added that is
 * already gone is simply not removed again; a row to put back whose rowid now holds another value
 * cannot be put back, and the change is then not made at all (ChangedSince) and leaves the history.
 */
class NameHistory {
public:
    enum class Outcome { Done, ChangedSince };

    /** Keeps a change as the next to undo; the changes undone before it can no longer be redone. */
    void record(NameChange change);

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    QString undoWhat() const { return canUndo() ? m_undo.back().what : QString(); }
    QString redoWhat() const { return canRedo() ? m_redo.back().what : QString(); }

    /** Undoes the last change. Throws AppError when the engine fails, leaving the history as it was. */
    Outcome undo(NameDatabase& database);
    /** Makes the last undone change again. Throws AppError as undo() does. */
    Outcome redo(NameDatabase& database);

private:
    Outcome replay(NameDatabase& database, std::vector<NameChange>& from, std::vector<NameChange>& to, bool forward);

    std::vector<NameChange> m_undo;
    std::vector<NameChange> m_redo;
};

} // namespace quillory
