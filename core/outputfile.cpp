#include "outputfile.h"

#include "nativepath.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillory {

namespace {

// The named temporary files being written, for a signal handler to remove: fixed slots, each free
// (0), being filled (1) or holding a name (2). A handler only reads slots that hold a name.
constexpr int kSlots = 16;
constexpr std::size_t kSlotPath = 4096;
struct Slot {
    std::atomic<int> state{0};
    char path[kSlotPath];
};
Slot g_slots[kSlots];

std::atomic<bool> g_unnamedAllowed{true};
std::function<void()> g_beforeCommit;

// Signals whose handler removes the temporary files; they are held back while a file is made and
// listed, so that no signal falls between the two.
class HeldSignals {
public:
    HeldSignals() {
        sigset_t held;
        sigemptyset(&held);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP})
            sigaddset(&held, signal);
        pthread_sigmask(SIG_BLOCK, &held, &m_saved);
    }
    ~HeldSignals() { pthread_sigmask(SIG_SETMASK, &m_saved, nullptr); }

private:
    sigset_t m_saved;
};

int listForRemoval(const QByteArray& path) {
    if (static_cast<std::size_t>(path.size()) >= kSlotPath)
        return -1;
    for (int i = 0; i < kSlots; ++i) {
        int expected = 0;
        if (g_slots[i].state.compare_exchange_strong(expected, 1)) {
            std::memcpy(g_slots[i].path, path.constData(), static_cast<std::size_t>(path.size()) + 1);
            g_slots[i].state.store(2);
            return i;
        }
    }
    return -1;
}

void unlist(int& slot) {
    if (slot >= 0)
        g_slots[slot].state.store(0);
    slot = -1;
}

void removeListedAndEnd(int signal) {
    for (Slot& slot : g_slots)
        if (slot.state.load() == 2)
            ::unlink(slot.path);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

[[noreturn]] void fail(int errorNumber) {
    if (errorNumber == EPIPE)
        throw OutputClosed(systemMessage(errorNumber));
    throw AppError(systemMessage(errorNumber));
}

mode_t userFileMode() {
    // umask() can only be read by setting it; it is set straight back.
    static const mode_t mask = [] {
        const mode_t m = ::umask(022);
        ::umask(m);
        return m;
    }();
    return 0666 & ~mask;
}

QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    if (slash == 0)
        return QByteArrayLiteral("/");
    return path.left(slash);
}

QByteArray nameOf(const QByteArray& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

// "/dev/stdout", "/dev/fd/3", "/proc/self/fd/3": one of this process's open descriptors, or -1.
int ownDescriptorNamed(const QByteArray& path) {
    static const QRegularExpression kAlias(QStringLiteral(
        "^(?:/dev/(?:(stdout)|(stderr)|fd/([0-9]{1,9}))|/proc/(?:self|thread-self|([0-9]+))/fd/([0-9]{1,9}))$"));
    const QRegularExpressionMatch m = kAlias.match(QString::fromLatin1(path));
    if (!m.hasMatch())
        return -1;
    if (!m.captured(1).isEmpty())
        return STDOUT_FILENO;
    if (!m.captured(2).isEmpty())
        return STDERR_FILENO;
    if (!m.captured(3).isEmpty())
        return m.captured(3).toInt();
    if (!m.captured(4).isEmpty() && m.captured(4).toLongLong() != ::getpid())
        return -1;
    return m.captured(5).toInt();
}

bool isProcFdPath(const QByteArray& path) {
    return path.startsWith("/proc/") && path.contains("/fd/");
}

QByteArray randomSuffix() {
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char bytes[10];
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
        // Without the system's randomness, the time and the process still make a name no one planted.
        const auto seed = static_cast<unsigned long long>(::getpid()) * 0x9E3779B97F4A7C15ULL ^
                          static_cast<unsigned long long>(::time(nullptr));
        for (std::size_t i = 0; i < sizeof bytes; ++i)
            bytes[i] = static_cast<unsigned char>(seed >> (i * 6));
    }
    QByteArray suffix;
    for (const unsigned char b : bytes)
        suffix.append(kLetters[b % (sizeof kLetters - 1)]);
    return suffix;
}

bool procFdReachable() {
    static const bool reachable = ::access("/proc/self/fd", X_OK) == 0;
    return reachable;
}

void writeAll(int fd, const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, static_cast<std::size_t>(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                pollfd wait{fd, POLLOUT, 0};
                ::poll(&wait, 1, -1);
                continue;
            }
            fail(errno);
        }
        data += written;
        size -= written;
    }
}

} // namespace

QString systemMessage(int errorNumber) {
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

void OutputFile::setUnnamedTemporaries(bool allowed) {
    g_unnamedAllowed = allowed;
}

void OutputFile::setBeforeCommitHook(std::function<void()> hook) {
    g_beforeCommit = std::move(hook);
}

OutputFile::OutputFile(const QString& path, Rules rules) : m_rules(rules) {
    QByteArray current = encodePath(path);
    if (current.isEmpty())
        fail(ENOENT);
    // Follow the links of the last part of the name to what they lead to.
    struct stat st {};
    for (int hops = 0;; ++hops) {
        if (const int own = ownDescriptorNamed(current); own >= 0) {
            const int flags = ::fcntl(own, F_GETFL);
            if (flags < 0 || (flags & O_ACCMODE) == O_RDONLY)
                fail(EBADF);
            m_fd = ::fcntl(own, F_DUPFD_CLOEXEC, 3);
            if (m_fd < 0)
                fail(errno);
            m_through = true;
            m_target = current;
            return;
        }
        if (isProcFdPath(current)) {
            // Another process's descriptor: its links lead to no name that could be replaced.
            openThrough(current, false);
            return;
        }
        if (::lstat(current.constData(), &st) != 0) {
            if (errno != ENOENT)
                fail(errno);
            break; // a new file
        }
        if (!S_ISLNK(st.st_mode)) {
            m_exists = true;
            break;
        }
        if (hops == 40)
            fail(ELOOP);
        QByteArray target(static_cast<qsizetype>(st.st_size > 0 ? st.st_size : 4096), Qt::Uninitialized);
        const ssize_t length = ::readlink(current.constData(), target.data(), static_cast<std::size_t>(target.size()));
        if (length < 0)
            fail(errno);
        target.truncate(length);
        current = target.startsWith('/') ? target : folderOf(current) + '/' + target;
    }
    m_target = current;
    m_folder = folderOf(current);
    m_given = path;
    if (m_exists) {
        if (S_ISDIR(st.st_mode))
            fail(EISDIR);
        if (!S_ISREG(st.st_mode)) {
            openThrough(current, S_ISFIFO(st.st_mode));
            return;
        }
        if (m_rules.mustBeNew)
            fail(EEXIST);
        // What could not be opened for writing is not replaced either.
        if (::access(current.constData(), W_OK) != 0)
            fail(errno);
        m_mode = st.st_mode & 0777;
        m_owner = st.st_uid;
        m_group = st.st_gid;
    } else {
        struct stat folder {};
        if (::stat(m_folder.constData(), &folder) != 0)
            fail(errno);
        if (!S_ISDIR(folder.st_mode))
            fail(ENOTDIR);
        m_mode = m_rules.newFileMode >= 0 ? static_cast<mode_t>(m_rules.newFileMode) : userFileMode();
    }
    createTemporary();
}

OutputFile::~OutputFile() {
    discard();
}

void OutputFile::openThrough(const QByteArray& path, bool isFifo) {
    int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC;
    if (isFifo && !m_rules.waitForReader)
        flags |= O_NONBLOCK;
    do
        m_fd = ::open(path.constData(), flags);
    while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0) {
        if (errno == ENXIO && isFifo)
            throw AppError(QCoreApplication::translate("quillory", "nobody is reading the named pipe"));
        fail(errno);
    }
    if (flags & O_NONBLOCK)
        ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) & ~O_NONBLOCK);
    struct stat st {};
    if (::fstat(m_fd, &st) == 0 && S_ISREG(st.st_mode)) {
        // It became a file between the look and the open: writing into it would mix old and new.
        ::close(std::exchange(m_fd, -1));
        fail(EBUSY);
    }
    m_through = true;
    m_target = path;
}

void OutputFile::createTemporary() {
    try {
        if (g_unnamedAllowed && procFdReachable()) {
            m_fd = ::open(m_folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
            if (m_fd >= 0)
                return;
            // Some file systems cannot make unnamed files; anything else is a real failure.
            if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL && errno != ENOENT)
                fail(errno);
        }
        createNamedTemporary(m_folder);
    } catch (const AppError&) {
        // A file that may be written in a folder that may not: the file could be written over in
        // place, but never safely, and the folder is what stands in the way.
        if (m_exists && ::access(m_folder.constData(), W_OK) != 0 && (errno == EACCES || errno == EPERM))
            throw OutputRefused(
                QCoreApplication::translate("quillory", "%1: cannot make a file here to replace %2 safely")
                    .arg(decodePath(m_folder), m_given));
        throw;
    }
}

void OutputFile::createNamedTemporary(const QByteArray& folder) {
    const QByteArray stem = folder + "/." + nameOf(m_target) + '.';
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = stem + randomSuffix();
        const HeldSignals held;
        const int fd = ::open(name.constData(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) {
            if (errno == EEXIST || errno == EINTR)
                continue;
            fail(errno);
        }
        m_fd = fd;
        m_tempName = name;
        m_slot = listForRemoval(name);
        return;
    }
    fail(EEXIST);
}

void OutputFile::write(const char* data, qsizetype size) {
    if (m_fd < 0 || m_done)
        fail(EBADF);
    writeAll(m_fd, data, size);
    m_written += size;
#ifdef __linux__
    // A file to be synced at the end starts on its way to the disk as it is written, some megabytes
    // at a time, so that the one sync has little left to wait for. Only a hint: a failure is the
    // sync's to report.
    constexpr std::int64_t kStartEvery = 8 << 20;
    if (!m_through && m_written - m_unsynced >= kStartEvery) {
        ::sync_file_range(m_fd, m_unsynced, m_written - m_unsynced, SYNC_FILE_RANGE_WRITE);
        m_unsynced = m_written;
    }
#endif
}

QString OutputFile::contentPath() {
    if (m_through) {
        if (m_stagingFd < 0) {
            // A device cannot be sought in: the content waits in a file of its own, then goes through.
            // It goes in $TMPDIR when that is set, else (or when that fails) in /tmp, as a spooled
            // names file does; a failure names the folder.
            QList<QByteArray> folders;
            if (const QByteArray chosen = encodePath(qEnvironmentVariable("TMPDIR")); !chosen.isEmpty())
                folders << chosen;
            if (!folders.contains("/tmp"))
                folders << "/tmp";
            int firstError = 0;
            for (const QByteArray& folder : folders) {
                if (g_unnamedAllowed && procFdReachable())
                    m_stagingFd = ::open(folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
                if (m_stagingFd < 0) {
                    const HeldSignals held;
                    const QByteArray name = folder + "/.quillory." + randomSuffix();
                    m_stagingFd = ::open(name.constData(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC | O_NOFOLLOW, 0600);
                    if (m_stagingFd >= 0) {
                        m_stagingName = name;
                        m_stagingSlot = listForRemoval(name);
                    }
                }
                if (m_stagingFd >= 0)
                    break;
                firstError = firstError != 0 ? firstError : errno;
            }
            if (m_stagingFd < 0)
                throw AppError(QCoreApplication::translate("quillory", "cannot make a temporary file in %1: %2")
                                   .arg(decodePath(folders.first()), systemMessage(firstError)));
        }
        return m_stagingName.isEmpty() ? QStringLiteral("/proc/self/fd/%1").arg(m_stagingFd)
                                       : decodePath(m_stagingName);
    }
    return m_tempName.isEmpty() ? QStringLiteral("/proc/self/fd/%1").arg(m_fd) : decodePath(m_tempName);
}

void OutputFile::commit() {
    if (m_done || m_fd < 0)
        fail(EBADF);
    try {
        if (g_beforeCommit)
            g_beforeCommit();
        if (m_through)
            commitThrough();
        else
            commitReplacing();
    } catch (...) {
        discard();
        throw;
    }
    m_done = true;
    discard();
}

void OutputFile::commitThrough() {
    if (m_stagingFd >= 0) {
        char buffer[1 << 16];
        for (off_t at = 0;;) {
            const ssize_t got = ::pread(m_stagingFd, buffer, sizeof buffer, at);
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                fail(errno);
            }
            if (got == 0)
                break;
            writeAll(m_fd, buffer, got);
            at += got;
        }
    }
    if (::close(std::exchange(m_fd, -1)) != 0 && errno != EINTR)
        fail(errno);
}

void OutputFile::commitReplacing() {
    // One sync: the content is on the disk before its name is, so a crash leaves the old file or the new.
    if (::fdatasync(m_fd) != 0 && errno != EINVAL && errno != EROFS)
        fail(errno);
    if (::fchmod(m_fd, m_mode) != 0)
        fail(errno);
    if (m_exists) {
        // Root replacing another user's file gives it back to them; anyone else keeps what they may.
        if (::fchown(m_fd, m_owner, m_group) != 0)
            (void)!::fchown(m_fd, static_cast<uid_t>(-1), m_group);
    }
    if (m_tempName.isEmpty()) {
        const QByteArray unnamed = "/proc/self/fd/" + QByteArray::number(m_fd);
        if (m_rules.mustBeNew) {
            if (::linkat(AT_FDCWD, unnamed.constData(), AT_FDCWD, m_target.constData(), AT_SYMLINK_FOLLOW) != 0)
                fail(errno);
            if (::close(std::exchange(m_fd, -1)) != 0 && errno != EINTR) {
                const int code = errno;
                ::unlink(m_target.constData());
                fail(code);
            }
            return;
        }
        // A name of its own first (rename cannot take an unnamed file), then the target's.
        for (int attempt = 0;; ++attempt) {
            const QByteArray name = m_folder + "/." + nameOf(m_target) + '.' + randomSuffix();
            const HeldSignals held;
            if (::linkat(AT_FDCWD, unnamed.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0) {
                m_tempName = name;
                m_slot = listForRemoval(name);
                break;
            }
            if (errno != EEXIST || attempt == 100)
                fail(errno);
        }
    }
    if (::close(std::exchange(m_fd, -1)) != 0 && errno != EINTR)
        fail(errno);
    if (m_rules.mustBeNew) {
        if (::link(m_tempName.constData(), m_target.constData()) != 0) {
            const int code = errno;
            // A file system without hard links: the name was checked free when the file was begun.
            if ((code != EPERM && code != EOPNOTSUPP) || ::access(m_target.constData(), F_OK) == 0)
                fail(code == EPERM || code == EOPNOTSUPP ? EEXIST : code);
            if (::rename(m_tempName.constData(), m_target.constData()) != 0)
                fail(errno);
            m_tempName.clear();
            unlist(m_slot);
            return;
        }
        // Linked: the target has the content under both names until the temporary one goes.
        ::unlink(m_tempName.constData());
    } else if (::rename(m_tempName.constData(), m_target.constData()) != 0) {
        fail(errno);
    }
    m_tempName.clear();
    unlist(m_slot);
}

void OutputFile::discard() noexcept {
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
    if (!m_tempName.isEmpty()) {
        ::unlink(m_tempName.constData());
        m_tempName.clear();
    }
    unlist(m_slot);
    if (m_stagingFd >= 0)
        ::close(std::exchange(m_stagingFd, -1));
    if (!m_stagingName.isEmpty()) {
        ::unlink(m_stagingName.constData());
        m_stagingName.clear();
    }
    unlist(m_stagingSlot);
}

bool isSameFile(const QString& a, const QString& b) {
    struct stat sa {};
    struct stat sb {};
    return ::stat(encodePath(a).constData(), &sa) == 0 && ::stat(encodePath(b).constData(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

QByteArray scratchFolder() {
    const QByteArray chosen = encodePath(qEnvironmentVariable("TMPDIR"));
    return !chosen.isEmpty() && ::access(chosen.constData(), W_OK | X_OK) == 0 ? chosen : QByteArray("/tmp");
}

bool isSqliteDatabase(const QString& path) {
    // Opened without waiting: a named pipe has no header to read.
    const int fd = ::open(encodePath(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return false;
    struct stat st {};
    char header[16] = {};
    const bool database = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                          ::pread(fd, header, sizeof header, 0) == sizeof header &&
                          std::memcmp(header, "SQLite format 3", sizeof header) == 0;
    ::close(fd);
    return database;
}

void removeTemporariesOnSignals() {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction action {};
        action.sa_handler = removeListedAndEnd;
        sigemptyset(&action.sa_mask);
        for (const int other : {SIGINT, SIGTERM, SIGHUP})
            sigaddset(&action.sa_mask, other);
        // A signal the program was started ignoring (nohup) stays ignored.
        struct sigaction before {};
        sigaction(signal, nullptr, &before);
        if (before.sa_handler != SIG_IGN)
            sigaction(signal, &action, nullptr);
    }
}

void openClosedStandardStreams() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // Read-only, so that what is written there fails (EBADF) and is reported rather than lost.
        // The lowest free number is this one, since the lower ones are open by now.
        const int opened = ::open("/dev/null", O_RDONLY);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
}

} // namespace quillory
