// An installed program: the program folder holds names.mdb but the user may not write there, so the
// user's names live in their own copy, made from it the first time it is needed.
#include "filesizelimit.h"
#include "mainwindowfixture.h"
#include "unprivilegeduser.h"

#include <QCryptographicHash>
#include <QProcess>

#include <sys/stat.h>
#include <unistd.h>

namespace quillory::test {
namespace {

QByteArray sha256Of(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
                                          : QByteArray("unreadable");
}

class UserDataTest : public MainWindowFixture {
protected:
    UserDataTest() {
        QFile::remove(workspace.nameDatabase());
        workspace.installBuiltInNames();
        installed = sha256Of(workspace.nameDatabase());
        // Everything in the program folder is the system's, as root-owned files are to a user.
        const QString programFolder = workspace.programFolder();
        paths = AppPaths(programFolder, dataFolder(),
                         [programFolder](const QString& path) { return !path.startsWith(programFolder); });
    }

    QString dataFolder() const { return workspace.path(QStringLiteral("home/data")); }
    QString userCopy() const { return dataFolder() + QStringLiteral("/names.mdb"); }
    void click(const char* name) { QTest::mouseClick(control(name), Qt::LeftButton); }

    QByteArray installed;
};

// The first start makes the copy; a name added goes there and is still there at the next start; the
// installed file never changes.
TEST_F(UserDataTest, TheUsersNamesGoToTheirOwnCopyAndStayThere) {
    loadAndShow();
    ASSERT_TRUE(QFile::exists(userCopy()));
    click("Option8");
    dialogs.answerPrompt(QStringLiteral("Zoé"));
    click("PushButton2");
    EXPECT_EQ(workspace.storedNames("user_firstname", userCopy()), QStringList{"Zoé"});
    EXPECT_EQ(sha256Of(workspace.nameDatabase()), installed);

    MainWindow& again = loadAndShow();
    EXPECT_EQ(again.listView1()->items().texts(), QStringList{"Zoé"}) << "the User List was kept, and chosen";
    EXPECT_EQ(dialogs.errorReports(), QStringList());
    EXPECT_EQ(sha256Of(workspace.nameDatabase()), installed);
}

// A copy that cannot be made (no data folder can be made; the disk full part-way) is reported as the
// open of names.mdb is, and leaves nothing behind; once the fault is gone the next action makes it.
TEST_F(UserDataTest, ACopyThatCannotBeMadeIsReportedAndLeavesNothing) {
    workspace.writeFile(QStringLiteral("home"), "a file where the data folder should go");
    loadAndShow();
    ASSERT_EQ(dialogs.errorReports().size(), 1);
    EXPECT_TRUE(dialogs.errorReports()[0].contains(QStringLiteral("unable to make the user's copy")));
    EXPECT_TRUE(dialogs.errorReports()[0].contains(QStringLiteral("Form1.Form_Load at line 136")));
    QFile::remove(workspace.path(QStringLiteral("home")));

    {
        const FileSizeLimit limit(64 * 1024); // names.mdb is far larger
        click("Option8");
    }
    ASSERT_EQ(dialogs.errorReports().size(), 2);
    EXPECT_TRUE(dialogs.errorReports()[1].contains(QStringLiteral("File too large")))
        << dialogs.errorReports()[1].toStdString();
    EXPECT_EQ(QDir(dataFolder()).entryList(QDir::Files | QDir::Hidden), QStringList());

    dialogs.answerPrompt(QStringLiteral("Zoé"));
    click("PushButton2");
    EXPECT_EQ(dialogs.errorReports().size(), 2);
    EXPECT_EQ(workspace.storedNames("user_firstname", userCopy()), QStringList{"Zoé"});
    EXPECT_EQ(sha256Of(workspace.nameDatabase()), installed);
}

// The same for real: a second copy of the program run as a user who may not write the program folder
// (nobody, when the tests run as root) imports names twice; the second import adds to the first.
TEST_F(UserDataTest, AUserWhoMayNotWriteTheProgramFolderKeepsTheirNames) {
    const QString home = workspace.path(QStringLiteral("home"));
    QDir().mkpath(home);
    const QString first = workspace.writeFile(QStringLiteral("first.txt"), "Aubin\nBleuenn\n");
    const QString second = workspace.writeFile(QStringLiteral("second.txt"), "Corentin\n");
    const UnprivilegedUser user(workspace.root(), workspace.programFolder(), home);
    const QString copy = home + QStringLiteral("/.local/share/Obrenna/Quillory/names.mdb");
    for (const QString& file : {first, second}) {
        QProcess worker;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home);
        environment.remove(QStringLiteral("XDG_DATA_HOME"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/runtime"));
        worker.setProcessEnvironment(environment);
        const QStringList command =
            user.command({QStringLiteral(QUILLORY_WORKER), QStringLiteral("import"), workspace.programFolder(), file});
        worker.start(command.first(), command.mid(1));
        ASSERT_TRUE(worker.waitForReadyRead(60'000)) << worker.readAllStandardError().toStdString();
        worker.write("go\n");
        ASSERT_TRUE(worker.waitForFinished(60'000));
        EXPECT_EQ(worker.exitCode(), 0) << worker.readAllStandardError().toStdString();
    }
    const QStringList stored = workspace.storedNames("system_ffirstname", copy);
    EXPECT_EQ(stored.mid(stored.size() - 3), QStringList({"Aubin", "Bleuenn", "Corentin"}));
    EXPECT_EQ(sha256Of(workspace.nameDatabase()), installed);
}

} // namespace
} // namespace quillory::test
