// The one way of writing a file, on both of its paths: the unnamed temporary file where the file
// system has them, and the named one created exclusively where it has not (NFS, SMB, FUSE, exFAT),
// which a signal in the middle must take with it.
#include "core/apperror.h"
#include "core/outputfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillory;

namespace {

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QStringList everythingIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

class OutputFileTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        OutputFile::setUnnamedTemporaries(GetParam());
        real = dir.filePath(QStringLiteral("real.txt"));
        link = dir.filePath(QStringLiteral("link.txt"));
        QFile file(real);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("earlier\n");
        file.close();
        ASSERT_EQ(::chmod(QFile::encodeName(real).constData(), 0640), 0);
        ASSERT_TRUE(QFile::link(QStringLiteral("real.txt"), link));
    }
    void TearDown() override {
        OutputFile::setUnnamedTemporaries(true);
        OutputFile::setBeforeCommitHook({});
    }

    QTemporaryDir dir;
    QString real;
    QString link;
    const QStringList untouched{QStringLiteral("link.txt"), QStringLiteral("real.txt")};
};

} // namespace

// Through a link: the file it leads to is replaced whole, with its permission bits, and the link
// stays a link. Until the commit nothing changed; a write dropped, or a rename that fails, leaves
// only what was there.
TEST_P(OutputFileTest, ReplacesWhatALinkLeadsToOnlyOnceWholeAndLeavesNothingElse) {
    {
        OutputFile dropped(link);
        dropped.write("dropped\n");
    }
    EXPECT_EQ(contentOf(real), "earlier\n");
    EXPECT_EQ(everythingIn(dir.path()), untouched);

    OutputFile file(link);
    EXPECT_FALSE(file.writesThrough());
    file.write("Anne Martin\r\n");
    // The named temporary file is hidden beside the target; the unnamed one is nowhere to be seen.
    EXPECT_EQ(everythingIn(dir.path()).size(), GetParam() ? 2 : 3);
    EXPECT_EQ(contentOf(real), "earlier\n");
    file.commit();
    EXPECT_EQ(contentOf(real), "Anne Martin\r\n");
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), real);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(real).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(everythingIn(dir.path()), untouched);

    // Something takes the file's place before the rename: the rename fails, and says so.
    OutputFile::setBeforeCommitHook([&] {
        QFile::remove(real);
        QDir().mkpath(real + QStringLiteral("/inside"));
    });
    OutputFile failing(link);
    failing.write("lost\n");
    EXPECT_THROW(failing.commit(), AppError);
    EXPECT_TRUE(QFileInfo(real).isDir());
    EXPECT_EQ(everythingIn(dir.path()), untouched);
}

// Killed by SIGINT in the middle of writing on a file system without unnamed temporary files: the
// half-written file goes with the program.
TEST_P(OutputFileTest, ASignalInTheMiddleTakesTheTemporaryFileWithIt) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        removeTemporariesOnSignals();
        OutputFile file(link);
        file.write(QByteArray(1 << 20, 'n'));
        ::raise(SIGINT);
        ::_exit(0); // not reached: the signal ends the program
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << "status " << status;
    EXPECT_EQ(contentOf(real), "earlier\n");
    EXPECT_EQ(everythingIn(dir.path()), untouched);
}

INSTANTIATE_TEST_SUITE_P(Temporaries, OutputFileTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Unnamed" : "Named"; });
