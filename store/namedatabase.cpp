#include "namedatabase.h"

#include "core/apperror.h"
#include "core/nativepath.h"
#include "core/outputfile.h"
#include "lastnamespellings.h"
#include "namecollation.h"
#include "namefilereader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <sqlite3.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillory {

namespace {

std::atomic<std::chrono::milliseconds> g_busyTimeout{std::chrono::seconds(5)};

int collateNames(void*, int lengthA, const void* a, int lengthB, const void* b) {
    return compareNames(std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(lengthA)),
                        std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(lengthB)));
}

QString engineMessage(sqlite3* db, int code) {
    return QString::fromUtf8(db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code));
}

// Runs a statement that needs no parameters and no rows, on a connection being set up.
void runPragma(sqlite3* db, const char* pragma) {
    char* error = nullptr;
    const int code = sqlite3_exec(db, pragma, nullptr, nullptr, &error);
    if (code != SQLITE_OK) {
        const QString message = QString::fromUtf8(error != nullptr ? error : sqlite3_errstr(code));
        sqlite3_free(error);
        throw AppError(message);
    }
}

// What every SQLite database file begins with.
constexpr char kDatabaseHeader[] = "SQLite format 3";
constexpr qsizetype kHeaderSize = 100;

// What lies at a database's path, as far as opening it goes.
struct DatabaseFile {
    bool present = false;
    bool regular = false;
    bool empty = false;
    bool isDatabase = false;
    bool logMode = false; // write-ahead log: changes may wait in FILE-wal
};

DatabaseFile lookAt(const QByteArray& path) {
    DatabaseFile found;
    struct stat st {};
    if (::stat(path.constData(), &st) != 0 || S_ISDIR(st.st_mode))
        return found; // the engine says what is wrong
    found.present = true;
    found.regular = S_ISREG(st.st_mode);
    found.empty = st.st_size == 0;
    if (!found.regular)
        return found;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        found.present = false; // the engine says why it cannot be opened
        return found;
    }
    unsigned char header[kHeaderSize];
    const ssize_t got = ::pread(fd, header, sizeof header, 0);
    ::close(fd);
    found.isDatabase = got == kHeaderSize && std::memcmp(header, kDatabaseHeader, sizeof kDatabaseHeader) == 0;
    found.logMode = found.isDatabase && header[18] == 2 && header[19] == 2;
    return found;
}

// Whether FILE-wal holds changes not yet in the file itself.
bool logHoldsChanges(const QByteArray& path) {
    struct stat st {};
    return ::stat((path + "-wal").constData(), &st) == 0 && st.st_size > 0;
}

// A URI naming the file for the engine, every byte that a URI gives a meaning to escaped.
QByteArray fileUri(const QByteArray& path, const char* parameters) {
    QByteArray uri = "file:";
    for (const char c : path) {
        if (c == '?' || c == '#' || c == '%')
            uri.append('%').append(QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(2, '0'));
        else
            uri.append(c);
    }
    return uri.append('?').append(parameters);
}

// The five tables: Halvard's List (male first names, female first names, last names) and the User List
// (first names, last names). One text column each, no key: a name may be stored any number of times.
constexpr char kSchema[] = R"(
    create table system_mfirstname (Mfirst text check (length(Mfirst) <= 50));
    create table system_ffirstname (Ffirst text check (length(Ffirst) <= 50));
    create table system_lastname (Last text check (length(Last) <= 50));
    create table user_firstname (firstname text check (length(firstname) <= 50));
    create table user_lastname (lastname text check (length(lastname) <= 50));
)";

} // namespace

NameDatabase::NameDatabase(NameDatabasePlace place)
    : m_file(std::move(place.file)), m_madeFrom(std::move(place.madeFrom)) {}

void provideUserCopy(const QString& installed, const QString& copy) {
    if (QFileInfo::exists(copy))
        return;
    const auto fail = [&](const QString& reason) {
        throw AppError(QCoreApplication::translate("quillory", "unable to make the user's copy of %1 (%2): %3")
                           .arg(installed, reason, copy));
    };
    const QString folder = QFileInfo(copy).absolutePath();
    if (!QDir().mkpath(folder))
        fail(QCoreApplication::translate("quillory", "cannot make the folder %1").arg(folder));
    std::unique_ptr<QIODevice> opened;
    try {
        opened = openNameFile(installed, false);
    } catch (const AppError& error) {
        fail(error.message());
    }
    QFile& source = static_cast<QFile&>(*opened);
    QTemporaryFile part(QDir(folder).filePath(QStringLiteral("names.mdb.XXXXXX")));
    if (!part.open())
        fail(part.errorString());
    QByteArray chunk;
    while (!(chunk = source.read(1 << 20)).isEmpty()) {
        errno = 0;
        if (part.write(chunk) != chunk.size())
            fail(errno != 0 ? QString::fromLocal8Bit(std::strerror(errno)) : part.errorString());
    }
    if (source.error() != QFileDevice::NoError)
        fail(source.errorString());
    errno = 0;
    if (!part.flush() || ::fsync(part.handle()) != 0)
        fail(errno != 0 ? QString::fromLocal8Bit(std::strerror(errno)) : part.errorString());
    // link() takes the name only if nobody has it: another copy of the program may have just made it.
    if (::link(QFile::encodeName(part.fileName()).constData(), QFile::encodeName(copy).constData()) != 0 &&
        errno != EEXIST)
        fail(QString::fromLocal8Bit(std::strerror(errno)));
}

NameDatabase::~NameDatabase() {
    close();
}

void NameDatabase::setBusyTimeout(std::chrono::milliseconds timeout) {
    g_busyTimeout = timeout;
}

std::chrono::milliseconds NameDatabase::busyTimeout() {
    return g_busyTimeout;
}

void NameDatabase::open() {
    close();
    if (!m_madeFrom.isEmpty())
        provideUserCopy(m_madeFrom, m_file);
    // The engine would take an empty file for a new database and write one into it, and would wait
    // for ever on a pipe: neither is a names database. Other files it judges itself, unchanged.
    const QByteArray path = encodePath(m_file);
    if (const DatabaseFile found = lookAt(path); found.present && !found.isDatabase && (!found.regular || found.empty))
        throw AppError(QStringLiteral("%1: %2").arg(notANamesDatabase(), m_file));
    sqlite3* db = nullptr;
    const int code = sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    try {
        if (code != SQLITE_OK)
            throw AppError(engineMessage(db, code));
        sqlite3_busy_timeout(db, static_cast<int>(g_busyTimeout.load().count()));
        sqlite3_create_collation_v2(db, kNameCollation, SQLITE_UTF8, nullptr, collateNames, nullptr);
        // Reading the journal mode reads the file's header, so a file that is no database fails here,
        // at the open, rather than at the first statement.
        runPragma(db, "pragma journal_mode = wal");
        runPragma(db, "pragma synchronous = normal");
    } catch (const AppError& e) {
        sqlite3_close_v2(db);
        throw AppError(QStringLiteral("%1: %2").arg(e.message(), m_file));
    }
    m_db = db;
    // A copy made by an earlier version is brought up to date the first time it is opened to be
    // written; one that cannot be written now (locked, say) is brought up to date at a later open.
    try {
        bringBuiltInNamesUpToDate(*this);
    } catch (const AppError&) {
    }
}

void NameDatabase::openForReading() {
    close();
    const QByteArray path = encodePath(m_file);
    const DatabaseFile found = lookAt(path);
    if (found.present && !found.isDatabase)
        throw AppError(QStringLiteral("%1: %2").arg(m_file, notANamesDatabase()));
    sqlite3* db = nullptr;
    try {
        // A database in log mode is read by its readers through a shared-memory file beside it (FILE-shm),
        // which a reader that finds none would create (and leave behind, or fail to create in a folder
        // it may not write). Where there is none, nobody has the database open, and it is read without:
        // - with no changes waiting in its log, the file is all there is, and is read as it stands;
        // - with changes waiting (a writer that stopped short), the log is read with an index kept in
        //   this process's memory, no lock taken and nothing written, not even on closing.
        // Only the pages a query needs are read, whatever the size of the file.
        QByteArray uri;
        bool privateIndex = false;
        if (found.logMode && !pathExists(m_file + QStringLiteral("-shm"))) {
            privateIndex = logHoldsChanges(path);
            uri = fileUri(path, privateIndex ? "mode=ro&vfs=unix-none" : "mode=ro&immutable=1");
        }
        const int code =
            uri.isEmpty() ? sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr)
                          : sqlite3_open_v2(uri.constData(), &db,
                                            SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI, nullptr);
        if (code != SQLITE_OK)
            throw AppError(engineMessage(db, code));
        sqlite3_busy_timeout(db, static_cast<int>(g_busyTimeout.load().count()));
        if (privateIndex) {
            sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
            runPragma(db, "pragma locking_mode = exclusive");
        }
        sqlite3_create_collation_v2(db, kNameCollation, SQLITE_UTF8, nullptr, collateNames, nullptr);
        // Reads the schema, so that a file that is no database fails here rather than at a query.
        runPragma(db, "pragma schema_version");
    } catch (const AppError& e) {
        sqlite3_close_v2(db);
        throw AppError(QStringLiteral("%1: %2").arg(m_file, e.message()));
    }
    m_db = db;
}

void NameDatabase::close() {
    for (auto& [text, statement] : m_statements)
        sqlite3_finalize(statement);
    m_statements.clear();
    if (m_db != nullptr) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void NameDatabase::fail() const {
    throw AppError(m_db != nullptr
                       ? engineMessage(m_db, SQLITE_ERROR)
                       : QCoreApplication::translate("quillory", "The name database is not open: %1").arg(m_file));
}

sqlite3_stmt* NameDatabase::prepared(const char* statement) {
    if (m_db == nullptr)
        fail();
    // An import runs the same insert once per name: each text is compiled once per connection.
    auto found = m_statements.find(statement);
    if (found != m_statements.end())
        return found->second;
    sqlite3_stmt* compiled = nullptr;
    if (sqlite3_prepare_v2(m_db, statement, -1, &compiled, nullptr) != SQLITE_OK)
        fail();
    m_statements.emplace(statement, compiled);
    return compiled;
}

std::int64_t NameDatabase::lastInsertRowid() const {
    return m_db != nullptr ? sqlite3_last_insert_rowid(m_db) : 0;
}

bool NameDatabase::inTransaction() const {
    return m_db != nullptr && sqlite3_get_autocommit(m_db) == 0;
}

void NameDatabase::execute(const char* statement, const QStringList& values) {
    sqlite3_stmt* compiled = prepared(statement);
    sqlite3_reset(compiled);
    sqlite3_clear_bindings(compiled);
    for (int i = 0; i < values.size(); ++i) {
        const QByteArray text = values[i].toUtf8();
        if (sqlite3_bind_text(compiled, i + 1, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT) !=
            SQLITE_OK)
            fail();
    }
    int code = SQLITE_ROW;
    while (code == SQLITE_ROW)
        code = sqlite3_step(compiled);
    if (code != SQLITE_DONE) {
        const AppError error(engineMessage(m_db, code));
        sqlite3_reset(compiled);
        throw error;
    }
    sqlite3_reset(compiled);
}

void NameDatabase::create(const QString& file) {
    if (QFileInfo::exists(file))
        throw AppError(QStringLiteral("A file of that name already exists: %1").arg(file));
    sqlite3* db = nullptr;
    const int code = sqlite3_open_v2(encodePath(file).constData(), &db,
                                     SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    try {
        if (code != SQLITE_OK)
            throw AppError(engineMessage(db, code));
        // The log mode is kept in the file, so every later connection finds it set.
        runPragma(db, "pragma journal_mode = wal");
        runPragma(db, kSchema);
        runPragma(db, QByteArray("pragma user_version = " + QByteArray::number(kNamesVersion)).constData());
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
    sqlite3_close_v2(db);
}

NameQuery::NameQuery(NameDatabase& database, const char* statement, const char* column, const QStringList& values)
    : m_database(database), m_statement(database.prepared(statement)) {
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
    for (int i = 0; i < values.size(); ++i) {
        const QByteArray text = values[i].toUtf8();
        if (sqlite3_bind_text(m_statement, i + 1, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT) !=
            SQLITE_OK)
            database.fail();
    }
    const int columns = sqlite3_column_count(m_statement);
    for (int i = 0; i < columns && m_column < 0; ++i) {
        if (sqlite3_stricmp(sqlite3_column_name(m_statement, i), column) == 0)
            m_column = i;
    }
    if (m_column < 0)
        throw AppError(QStringLiteral("The query has no column %1").arg(QString::fromUtf8(column)));
    moveNext();
}

NameQuery::~NameQuery() {
    sqlite3_reset(m_statement);
}

QString NameQuery::value() const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, m_column));
    return text != nullptr ? QString::fromUtf8(text, sqlite3_column_bytes(m_statement, m_column)) : QString();
}

QString NameQuery::textAt(int index) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, index));
    return text != nullptr ? QString::fromUtf8(text, sqlite3_column_bytes(m_statement, index)) : QString();
}

std::int64_t NameQuery::integer(int index) const {
    return sqlite3_column_int64(m_statement, index);
}

void NameQuery::moveNext() {
    const int code = sqlite3_step(m_statement);
    if (code == SQLITE_ROW)
        return;
    m_atEnd = true;
    if (code != SQLITE_DONE)
        m_database.fail();
}

QString notANamesDatabase() {
    return QCoreApplication::translate("quillory", "not a names database");
}

QString truncatedName(const QString& name) {
    qsizetype units = 0;
    for (int characters = 0; units < name.size() && characters < kMaxNameLength; ++characters)
        units +=
            name.at(units).isHighSurrogate() && units + 1 < name.size() && name.at(units + 1).isLowSurrogate() ? 2 : 1;
    return name.left(units);
}

} // namespace quillory
