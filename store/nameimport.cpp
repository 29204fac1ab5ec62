#include "nameimport.h"

#include "core/apperror.h"
#include "core/dialogs.h"
#include "core/errorreport.h"
#include "core/guard.h"
#include "core/procedures.h"
#include "namedatabase.h"
#include "namefilereader.h"
#include "namehistory.h"
#include "namestatements.h"

#include <QCoreApplication>
#include <QDir>
#include <QIODevice>

namespace quillory {

namespace {

// The statement numbers of the steps that store a name, by source and kind.
int insertLine(NameSource source, NameKind kind) {
    if (source == NameSource::HalvardsList)
        return kind == NameKind::First ? 124 : 128;
    return kind == NameKind::First ? 134 : 138;
}

} // namespace

BatchedInserts::~BatchedInserts() {
    try {
        finish();
    } catch (...) {
    }
}

void BatchedInserts::insert(const char* statement, const QString& name) {
    if (m_pending.empty() && m_database.isOpen() && !m_database.inTransaction()) {
        // Without a transaction (another writer kept it from starting) each insert commits itself.
        try {
            m_database.execute("begin immediate");
        } catch (const AppError&) {
        }
    }
    try {
        m_database.execute(statement, {name});
    } catch (const AppError&) {
        if (!m_pending.empty() && !m_database.inTransaction())
            retryLostTransaction();
        throw;
    }
    const Pending stored{statement, name, m_database.lastInsertRowid()};
    if (m_database.inTransaction()) {
        m_pending.push_back(stored);
        if (static_cast<int>(m_pending.size()) >= kBatchSize)
            finish();
    } else {
        keep(stored);
    }
}

void BatchedInserts::keep(const Pending& stored) {
    if (m_change != nullptr)
        m_change->keepAdded(tableOfInsert(stored.statement), stored.rowid, stored.name);
}

void BatchedInserts::finish() {
    if (!m_database.inTransaction()) {
        m_pending.clear();
        return;
    }
    try {
        m_database.execute("commit");
    } catch (const AppError&) {
        if (m_database.inTransaction())
            m_database.execute("rollback");
        retryLostTransaction();
        throw;
    }
    for (const Pending& stored : m_pending)
        keep(stored);
    m_pending.clear();
}

void BatchedInserts::retryLostTransaction() {
    std::vector<Pending> lost = std::exchange(m_pending, {});
    for (const Pending& p : lost) {
        try {
            m_database.execute(p.statement, {p.name});
            keep({p.statement, p.name, m_database.lastInsertRowid()});
        } catch (const AppError& error) {
            m_lost.append(error.message());
        }
    }
}

void FileToListview(const QString& path, NameKind kind, const ImportTarget& target) {
    Guard g(target.dialogs, ErrorLocationTag(QStringLiteral("Main"), QStringLiteral("FileToListview")));
    if (!g.test(100, [&] { return FileIsPresent(path); })) {
        g.step(102, [&] {
            target.dialogs.message(applicationTitle(), QCoreApplication::translate("Form1", "File not found"),
                                   MessageIcon::None);
        });
        return;
    }
    NameDatabase database(target.database);
    g.step(106, [&] { database.open(); });

    std::unique_ptr<QIODevice> file;
    std::optional<NameFileReader> reader;
    qsizetype passedOver = 0;
    // A device or a pipe may never end; only a file has names to read, and a pipe is refused
    // without waiting for a writer.
    if (g.step(108, [&] {
            file = openNameFile(path, false);
            reader.emplace(*file);
        })) {
        BatchedInserts inserts(database, target.change);
        const auto reportLost = [&](int line) {
            for (const QString& failure : inserts.takeLost())
                g.step(line, [&] { throw AppError(failure); });
        };
        for (;;) {
            std::optional<QString> name;
            // A read that fails ends this file: reading on would fail again and again.
            if (!g.step(112, [&] { name = reader->next(); }) || !name)
                break;
            const NameSource source = target.source();
            const char* statement = insertStatementFor(source, kind);
            if (statement == nullptr)
                continue;
            const int line = insertLine(source, kind);
            g.step(line, [&] { inserts.insert(statement, *name); });
            reportLost(line);
        }
        passedOver = reader->skippedLines();
        g.step(190, [&] { file->close(); });
        g.step(194, [&] { inserts.finish(); });
        reportLost(194);
    }
    g.step(194, [&] { database.close(); });
    if (passedOver > 0)
        g.step(196, [&] {
            target.dialogs.message(applicationTitle(), passedOverMessage(path, passedOver), MessageIcon::None);
        });
}

QString passedOverMessage(const QString& path, qsizetype lines) {
    const QString file = QDir::toNativeSeparators(path);
    if (lines == 1)
        return QCoreApplication::translate("quillory", "One line of %1 held control characters and was not imported.")
            .arg(file);
    return QCoreApplication::translate("quillory", "%1 lines of %2 held control characters and were not imported.")
        .arg(lines)
        .arg(file);
}

} // namespace quillory
