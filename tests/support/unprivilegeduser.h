#pragma once

#include <QDirIterator>
#include <QFile>
#include <QStringList>

#include <sys/stat.h>
#include <unistd.h>

namespace quillory::test {

/**
 * While it lives, child processes started through command() run as a user who may not write the
 * program folder: nobody (through setpriv, owning `home` and all in it) when the tests run as root,
 * otherwise the tests' own user with the program folder made read-only. The workspace is opened to
 * others first, so that nobody can reach it.
 */
class UnprivilegedUser {
public:
    UnprivilegedUser(const QString& workspace, const QString& programFolder, const QString& home)
        : m_programFolder(programFolder) {
        QDirIterator all(workspace, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                         QDirIterator::Subdirectories);
        setMode(workspace, 0755);
        while (all.hasNext()) {
            const QString path = all.next();
            setMode(path, all.fileInfo().isDir() || all.fileInfo().isExecutable() ? 0755 : 0644);
        }
        if (::geteuid() == 0) {
            m_prefix = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"};
            for (QDirIterator mine(home, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                   QDirIterator::Subdirectories);
                 mine.hasNext();)
                ::chown(QFile::encodeName(mine.next()).constData(), 65534, 65534);
            ::chown(QFile::encodeName(home).constData(), 65534, 65534);
        } else {
            setMode(m_programFolder, 0555);
        }
    }
    ~UnprivilegedUser() { setMode(m_programFolder, 0755); }

    UnprivilegedUser(const UnprivilegedUser&) = delete;
    UnprivilegedUser& operator=(const UnprivilegedUser&) = delete;

    /** A program and its arguments, run as that user. */
    QStringList command(const QStringList& program) const { return m_prefix + program; }

private:
    static void setMode(const QString& path, mode_t mode) { ::chmod(QFile::encodeName(path).constData(), mode); }

    QString m_programFolder;
    QStringList m_prefix;
};

} // namespace quillory::test
