#pragma once

#include "apperror.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <sys/types.h>

namespace quillory {

/** A write found nobody reading any more (the reader of a pipe went away). */
class OutputClosed : public AppError {
public:
    using AppError::AppError;
};

/**
 * A failure whose message names every file and folder it is about, so that it is shown as it is,
 * without the output's name before it.
 */
class OutputRefused : public AppError {
public:
    using AppError::AppError;
};

/**
 * The one way the programs write a file, whatever the name leads to.
 *
 * - A regular file, a link to one (the link is followed and stays; the file it leads to is replaced),
 *   or a name where nothing is yet: the content goes to a new temporary file in the same folder that
 *   nobody else can have made or reach. Where the file system allows it the file has no name until
 *   commit(); elsewhere it is created exclusively under an unpredictable name and removed on every
 *   failure and on SIGINT, SIGTERM and SIGHUP (see removeTemporariesOnSignals()). commit() syncs it to
 *   the disk, gives it the permission bits and owner of the file it replaces (a new file those of any
 *   file the user creates), and puts it in place in one rename. Until then nothing at the name has
 *   changed; an OutputFile dropped uncommitted leaves nothing behind. A file the user may not write
 *   is refused, as opening it would be.
 * - Anything else that opens for writing (a device such as /dev/null, a named pipe, /dev/stdout,
 *   /dev/fd/N): written straight through, never renamed over.
 *
 * Failures throw AppError with the system's own reason; callers name the file.
 */
class OutputFile {
public:
    struct Rules {
        /** Only a new name will do: commit() fails rather than replace a file that is there. */
        bool mustBeNew = false;
        /** Permission bits of a new file; by default 0666 less the user's umask. */
        int newFileMode = -1;
        /** Whether opening a named pipe waits for its reader, or fails at once when it has none. */
        bool waitForReader = true;
    };

    explicit OutputFile(const QString& path) : OutputFile(path, Rules{}) {}
    OutputFile(const QString& path, Rules rules);
    ~OutputFile();

    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    /** Whether the content goes straight into what the name leads to (a device, a pipe). */
    bool writesThrough() const { return m_through; }

    /** Writes the bytes; throws OutputClosed when the reader went away, AppError on any other failure. */
    void write(const char* data, qsizetype size);
    void write(QByteArrayView bytes) { write(bytes.data(), bytes.size()); }

    /**
     * A name by which a writer that opens files itself (the workbook's) reaches the new content: a
     * seekable file of this output's own, empty at first. Whatever is in it at commit() is the content.
     */
    QString contentPath();

    /** Puts the content in place; throws AppError, and then leaves nothing behind. */
    void commit();

    /** Whether temporary files may be unnamed where the file system allows; tests turn it off. */
    static void setUnnamedTemporaries(bool allowed);
    /** Called in commit() once the content is written, before it takes its place; none by default. */
    static void setBeforeCommitHook(std::function<void()> hook);

private:
    void openThrough(const QByteArray& path, bool isFifo);
    void createTemporary();
    void createNamedTemporary(const QByteArray& folder);
    void commitThrough();
    void commitReplacing();
    void discard() noexcept;

    Rules m_rules;
    QByteArray m_target; // the file replaced (links followed), or the device written through
    QByteArray m_folder; // the target's folder
    QString m_given;     // the name as given, for messages
    bool m_through = false;
    bool m_exists = false; // a file is there to replace
    mode_t m_mode = 0644;
    uid_t m_owner = 0;
    gid_t m_group = 0;
    int m_fd = -1;
    // How much has been written, and from where the disk has not yet been asked to take it.
    std::int64_t m_written = 0;
    std::int64_t m_unsynced = 0;
    QByteArray m_tempName; // a named temporary file, or empty
    int m_slot = -1;       // its place in the list of files removed on a signal
    // Through a device, a writer that needs a file by name writes to one of these first.
    int m_stagingFd = -1;
    QByteArray m_stagingName;
    int m_stagingSlot = -1;
    bool m_done = false;
};

/** Whether two names lead to one file (the same device and inode); false when either is missing. */
bool isSameFile(const QString& a, const QString& b);

/** The folder for scratch files: $TMPDIR when it is set and may be written, else /tmp. */
QByteArray scratchFolder();

/**
 * Whether the name leads to a regular file that begins as every SQLite database does ("SQLite format
 * 3" and a NUL): a database of names, or of anything else, that no text output may replace.
 */
bool isSqliteDatabase(const QString& path);

/**
 * From now on SIGINT, SIGTERM and SIGHUP first remove the named temporary files of the OutputFiles
 * being written, then end the program as the signal would. Call once, early in main().
 */
void removeTemporariesOnSignals();

/**
 * Opens each of the standard descriptors 0, 1 and 2 that is closed on /dev/null, read-only, so that
 * no file the program opens later takes its number, and what is written to a closed standard output
 * fails (EBADF) rather than going somewhere or nowhere. Call first thing in main().
 */
void openClosedStandardStreams();

/** The system's message for an error number, in the user's language where the system has it. */
QString systemMessage(int errorNumber);

} // namespace quillory
