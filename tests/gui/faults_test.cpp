// Real faults, made for real: a names.mdb that is missing, a folder, cut short, garbage or locked by
// another copy; two copies importing at once; a save killed part-way; hostile names; a million
// results. Whoever runs the tests (root included), the fault holds.
#include "core/apperror.h"
#include "core/errorreport.h"
#include "core/procedures.h"
#include "generator/namegenerator.h"
#include "mainwindowfixture.h"
#include "store/namedatabase.h"
#include "store/nameimport.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QLineEdit>
#include <QProcess>
#include <QSet>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's own count of the bytes allocated through it.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

using namespace quillory;

namespace {

enum class DatabaseFault { Missing, Folder, Empty, CutShort, Garbage };

const char* nameOf(DatabaseFault fault) {
    switch (fault) {
    case DatabaseFault::Missing:
        return "Missing";
    case DatabaseFault::Folder:
        return "Folder";
    case DatabaseFault::Empty:
        return "Empty";
    case DatabaseFault::CutShort:
        return "CutShort";
    case DatabaseFault::Garbage:
        return "Garbage";
    }
    return "";
}

void PrintTo(DatabaseFault fault, std::ostream* out) {
    *out << nameOf(fault);
}

/** What lies at a path, to tell that a fault left it exactly as it was. */
QByteArray stateOf(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return "missing";
    if (info.isDir())
        return "folder:" +
               QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).join(u',').toUtf8();
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return "file:" + QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
}

/** The files beside names.mdb that the engine would leave if it had created or written anything. */
QStringList companionsOf(const QString& database) {
    QStringList found;
    for (const char* suffix : {"-wal", "-shm", "-journal"})
        if (QFileInfo::exists(database + QString::fromUtf8(suffix)))
            found << database + QString::fromUtf8(suffix);
    return found;
}

class FaultsTest : public test::MainWindowFixture {
protected:
    void click(const char* name) { QTest::mouseClick(control(name), Qt::LeftButton); }

    /** The reports shown since `from`, each cut to its tag and line. */
    QStringList reportsSince(qsizetype from) const {
        QStringList places;
        const QStringList reports = dialogs.errorReports();
        for (qsizetype i = from; i < reports.size(); ++i) {
            const qsizetype start = reports[i].indexOf(QStringLiteral("\r\nin "));
            const qsizetype end = reports[i].indexOf(QStringLiteral("\r\r"));
            places << reports[i].mid(start + 2, end - start - 2);
        }
        return places;
    }

    static QString at(const char* procedure, int line) {
        return QStringLiteral("in Tarvisk2021/08/31.%1 at line %2").arg(QString::fromUtf8(procedure)).arg(line);
    }

    QString namesFile(const QStringList& names) {
        return workspace.writeFile(QStringLiteral("import-%1.txt").arg(++m_files), names.join(u'\n').toUtf8());
    }

private:
    int m_files = 0;
};

class DatabaseFaultTest : public FaultsTest, public ::testing::WithParamInterface<DatabaseFault> {
protected:
    void makeFault() {
        const QString db = workspace.nameDatabase();
        switch (GetParam()) {
        case DatabaseFault::Missing:
            QFile::remove(db);
            break;
        case DatabaseFault::Folder:
            QFile::remove(db);
            QDir().mkpath(db);
            break;
        case DatabaseFault::Empty:
            // An empty file, which the engine would otherwise take for a new database and write into.
            workspace.writeFile(QStringLiteral("program/names.mdb"), QByteArray());
            break;
        case DatabaseFault::CutShort: {
            // A real database of several pages, cut after its first page: the schema survives and
            // the tables' pages are gone.
            QStringList many;
            for (int i = 0; i < 2000; ++i)
                many << QStringLiteral("Name%1").arg(i);
            workspace.storeNames("system_lastname", many);
            QFile file(db);
            ASSERT_GT(file.size(), 4 * 4096);
            ASSERT_TRUE(file.resize(4096));
            break;
        }
        case DatabaseFault::Garbage: {
            QByteArray noise(64 * 1024, Qt::Uninitialized);
            for (qsizetype i = 0; i < noise.size(); ++i)
                noise[i] = char((i * 7919 + 13) % 251);
            workspace.writeFile(QStringLiteral("program/names.mdb"), noise);
            break;
        }
        }
    }
};

} // namespace

TEST_P(DatabaseFaultTest, EveryActionReportsChangesNothingAndWorksOnceTheFaultIsGone) {
    makeFault();
    const QString db = workspace.nameDatabase();
    const QByteArray before = stateOf(db);

    // Start-up: the fill is reported at its step, and the program goes on with empty lists.
    MainWindow& window = loadAndShow();
    EXPECT_EQ(reportsSince(0), QStringList{at("Form1.Form_Load", 136)});
    EXPECT_EQ(window.listView1()->count(), 0);
    EXPECT_EQ(window.listView2()->count(), 0);

    struct Action {
        const char* button;
        const char* firstReport;
        int firstLine;
    };
    const QString file = namesFile({QStringLiteral("Anne"), QStringLiteral("Marie")});
    for (const Action& action :
         {Action{"PushButton2", "Form1.PushButton2_Click", 100}, Action{"PushButton5", "Form1.PushButton5_Click", 100},
          Action{"PushButton4", "Form1.PushButton4_Click", 102}, Action{"PushButton3", "Form1.PushButton3_Click", 102},
          Action{"PushButton6", "Main.FileToListview", 106}}) {
        SCOPED_TRACE(action.button);
        const qsizetype from = dialogs.errorReports().size();
        if (QByteArrayView(action.button) == "PushButton2" || QByteArrayView(action.button) == "PushButton5")
            dialogs.answerPrompt(QStringLiteral("Anne"));
        if (QByteArrayView(action.button) == "PushButton6")
            dialogs.answerOpenFiles({file});
        // Something to delete: a name shown and selected.
        window.listView1()->setItems(QStringList{QStringLiteral("Jean")});
        window.listView2()->setItems(QStringList{QStringLiteral("Martin")});
        click(action.button);
        const QStringList reports = reportsSince(from);
        ASSERT_FALSE(reports.isEmpty()) << "a fault that went unreported";
        EXPECT_EQ(reports[0], at(action.firstReport, action.firstLine));
        EXPECT_EQ(stateOf(db), before) << "the fault was changed";
        EXPECT_EQ(companionsOf(db), QStringList());
    }
    // "Clear" on the User List.
    click("Option8");
    const qsizetype from = dialogs.errorReports().size();
    window.listView1()->setItems(QStringList{QStringLiteral("Jean")});
    click("PushButton4");
    EXPECT_EQ(reportsSince(from).value(0), at("Form1.PushButton4_Click", 102));
    EXPECT_EQ(stateOf(db), before);
    for (const test::ShownMessage& m : dialogs.messages)
        EXPECT_EQ(m.title, kErrorReportTitle) << m.text.toStdString();

    // The fault gone, the next actions work without a report.
    QDir(db).removeRecursively();
    QFile::remove(db);
    workspace.createNameDatabase();
    const qsizetype after = dialogs.errorReports().size();
    dialogs.answerPrompt(QStringLiteral("Zoé"));
    click("PushButton2");
    dialogs.answerOpenFiles({file});
    click("PushButton6");
    EXPECT_EQ(reportsSince(after), QStringList());
    EXPECT_EQ(workspace.storedNames("user_firstname"), QStringList({"Zoé", "Anne", "Marie"}));
    EXPECT_EQ(window.listView1()->count(), 3);
}

INSTANTIATE_TEST_SUITE_P(Faults, DatabaseFaultTest,
                         ::testing::Values(DatabaseFault::Missing, DatabaseFault::Folder, DatabaseFault::Empty,
                                           DatabaseFault::CutShort, DatabaseFault::Garbage),
                         [](const auto& info) { return std::string(nameOf(info.param)); });

namespace {

/** Another copy's connection that holds the write lock of names.mdb while it lives. */
class WriteLock {
public:
    explicit WriteLock(const QString& path) {
        sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        m_held = sqlite3_exec(m_db, "begin immediate; insert into user_lastname values ('Locked');", nullptr, nullptr,
                              nullptr) == SQLITE_OK;
    }
    ~WriteLock() { sqlite3_close_v2(m_db); }
    bool held() const { return m_held; }
    void release() { sqlite3_exec(m_db, "rollback", nullptr, nullptr, nullptr); }

private:
    sqlite3* m_db = nullptr;
    bool m_held = false;
};

/** A shorter wait for another copy's lock, so that each locked statement fails quickly. */
class ShortBusyTimeout {
public:
    ShortBusyTimeout() : m_saved(NameDatabase::busyTimeout()) {
        NameDatabase::setBusyTimeout(std::chrono::milliseconds(50));
    }
    ~ShortBusyTimeout() { NameDatabase::setBusyTimeout(m_saved); }

private:
    std::chrono::milliseconds m_saved;
};

} // namespace

TEST_F(FaultsTest, WhileAnotherCopyHoldsTheWriteLockWritesAreReportedAndReadsGoOn) {
    workspace.storeNames("system_ffirstname", {"Marie"});
    workspace.storeNames("system_lastname", {"Petit"});
    workspace.storeNames("user_firstname", {"Zoé"});
    const ShortBusyTimeout shortWait;
    WriteLock lock(workspace.nameDatabase());
    ASSERT_TRUE(lock.held());

    // Reading goes on beside the other copy's write.
    MainWindow& window = loadAndShow();
    EXPECT_EQ(window.listView1()->count(), 1);
    EXPECT_EQ(reportsSince(0), QStringList());

    dialogs.answerPrompt(QStringLiteral("Anne"));
    click("PushButton2");
    EXPECT_EQ(reportsSince(0), QStringList{at("Form1.PushButton2_Click", 112)});
    EXPECT_TRUE(dialogs.errorReports()[0].startsWith(QStringLiteral("database is locked\r\n")));

    dialogs.answerOpenFiles({namesFile({QStringLiteral("Léa"), QStringLiteral("Inès")})});
    click("PushButton6");
    EXPECT_EQ(reportsSince(1), QStringList({at("Main.FileToListview", 124), at("Main.FileToListview", 124)}));

    window.listView2()->setCurrentIndex(window.listView2()->items().index(0, 0));
    click("PushButton3");
    EXPECT_EQ(reportsSince(3), QStringList{at("Form1.PushButton3_Click", 106)});
    EXPECT_EQ(workspace.storedNames("system_ffirstname"), QStringList{"Marie"});
    EXPECT_EQ(workspace.storedNames("system_lastname"), QStringList{"Petit"});

    // Once the other copy lets go, the same actions work.
    lock.release();
    const qsizetype from = dialogs.errorReports().size();
    dialogs.answerPrompt(QStringLiteral("Anne"));
    click("PushButton2");
    dialogs.answerOpenFiles({namesFile({QStringLiteral("Léa"), QStringLiteral("Inès")})});
    click("PushButton6");
    EXPECT_EQ(reportsSince(from), QStringList());
    EXPECT_EQ(workspace.storedNames("system_ffirstname"), QStringList({"Marie", "Anne", "Léa", "Inès"}));
    EXPECT_EQ(workspace.storedNames("user_lastname"), QStringList()) << "the other copy's write was its own";
}

namespace {

/** Starts a second copy of the program; see tests/support/programworker.cpp. */
void startWorker(QProcess& worker, const QStringList& arguments) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    worker.setProcessEnvironment(environment);
    worker.start(QStringLiteral(QUILLORY_WORKER), arguments);
    ASSERT_TRUE(worker.waitForStarted(30'000)) << worker.errorString().toStdString();
}

} // namespace

TEST_F(FaultsTest, TwoCopiesImportingIntoOneDatabaseAtOnceStoreEveryName) {
    QStringList first, second;
    for (int i = 0; i < 10'000; ++i) {
        first << QStringLiteral("Anne%1").arg(i, 5, 10, QLatin1Char('0'));
        second << QStringLiteral("Marie%1").arg(i, 5, 10, QLatin1Char('0'));
    }
    const QString firstFile = namesFile(first);
    const QString secondFile = namesFile(second);
    QProcess one, two;
    startWorker(one, {QStringLiteral("import"), workspace.programFolder(), firstFile});
    startWorker(two, {QStringLiteral("import"), workspace.programFolder(), secondFile});
    // Both loaded and waiting: the word is given to both at once.
    for (QProcess* worker : {&one, &two}) {
        while (!worker->readAllStandardOutput().contains("ready") && worker->state() == QProcess::Running)
            worker->waitForReadyRead(1000);
    }
    one.write("go\n");
    two.write("go\n");
    for (QProcess* worker : {&one, &two}) {
        ASSERT_TRUE(worker->waitForFinished(120'000));
        EXPECT_EQ(worker->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(worker->exitCode(), 0) << worker->readAllStandardError().toStdString();
    }
    QStringList stored = workspace.storedNames("system_ffirstname");
    EXPECT_EQ(stored.size(), 20'000);
    stored.sort();
    QStringList expected = first + second;
    expected.sort();
    EXPECT_EQ(stored, expected);
}

TEST_F(FaultsTest, ASaveKilledPartWayLeavesTheEarlierResultsAndNoStrayFile) {
    QFile::remove(workspace.nameDatabase());
    workspace.installBuiltInNames();
    const QString folder = workspace.path(QStringLiteral("saved"));
    const QString results = workspace.writeFile(QStringLiteral("saved/results.txt"), "Anne Martin\r\n");
    const auto onlyTheEarlierResults = [&] {
        EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{QStringLiteral("results.txt")});
        QFile file(results);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QByteArray("Anne Martin\r\n"));
    };

    // Killed by the system in the middle of writing: no file may grow past 1 MB, and the million
    // names take 16 MB.
    {
        QProcess worker;
        startWorker(worker, {QStringLiteral("save"), workspace.programFolder(), folder, QStringLiteral("1000000"),
                             QStringLiteral("1048576")});
        ASSERT_TRUE(worker.waitForFinished(120'000));
        EXPECT_EQ(worker.exitStatus(), QProcess::CrashExit) << worker.readAllStandardError().toStdString();
        onlyTheEarlierResults();
    }
    // Killed once the whole new file is written, just before it would take the earlier one's place.
    {
        QProcess worker;
        startWorker(worker, {QStringLiteral("save"), workspace.programFolder(), folder, QStringLiteral("1000000"),
                             QStringLiteral("kill-before-replace")});
        ASSERT_TRUE(worker.waitForFinished(120'000));
        EXPECT_EQ(worker.exitStatus(), QProcess::CrashExit) << worker.readAllStandardError().toStdString();
        EXPECT_TRUE(worker.readAllStandardOutput().contains("saving"));
        onlyTheEarlierResults();
    }
}

// What a save folder or an import may hold instead of a plain file: a pipe nobody reads or writes
// (the window must not wait on it), a device (written through), a link to the names themselves
// (never written over), and lines that are no names.
TEST_F(FaultsTest, TheWindowNeverWaitsOnAPipeNorWritesOverItsNames) {
    MainWindow& window = loadAndShow();
    window.text1()->setText(QStringLiteral("3"));
    click("PushButton1");
    const QString folder = workspace.path(QStringLiteral("saved"));
    QDir().mkpath(folder);
    const QString results = folder + QStringLiteral("/results.txt");
    this->results().text2()->setText(folder);
    const auto save = [&] {
        const qsizetype from = dialogs.messages.size();
        QTest::mouseClick(this->results().control(QStringLiteral("PushButton2")), Qt::LeftButton);
        return QStringList(dialogs.messages.size() > std::size_t(from) ? dialogs.messages.back().text : QString());
    };

    const QByteArray names = stateOf(workspace.nameDatabase());
    ASSERT_TRUE(QFile::link(workspace.nameDatabase(), results));
    EXPECT_TRUE(save().value(0).contains(QStringLiteral("at line 122")));
    EXPECT_TRUE(dialogs.messages.back().text.contains(QStringLiteral("is the names database")));
    EXPECT_EQ(stateOf(workspace.nameDatabase()), names);
    EXPECT_TRUE(QFileInfo(results).isSymLink());

    QFile::remove(results);
    ASSERT_EQ(::mkfifo(QFile::encodeName(results).constData(), 0644), 0);
    EXPECT_TRUE(save().value(0).contains(QStringLiteral("nobody is reading the named pipe")));
    dialogs.answerOpenFiles({results});
    click("PushButton6");
    EXPECT_EQ(reportsSince(dialogs.errorReports().size() - 1), QStringList{at("Main.FileToListview", 108)});
    EXPECT_TRUE(dialogs.errorReports().back().contains(QStringLiteral("Not a regular file")));

    if (::geteuid() == 0) {
        QFile::remove(results);
        ASSERT_EQ(::mknod(QFile::encodeName(results).constData(), S_IFCHR | 0666, makedev(1, 3)), 0);
        EXPECT_TRUE(save().value(0).startsWith(QStringLiteral("Done.")));
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(results).constData(), &st), 0);
        EXPECT_TRUE(S_ISCHR(st.st_mode)) << "the device was replaced";
    }

    const QString mixed = workspace.writeFile(QStringLiteral("mixed.txt"), "Anne\nJe\x01"
                                                                           "an\nL\x7f"
                                                                           "ea\nZo\xc3\xa9\n");
    click("Option8");
    dialogs.answerOpenFiles({mixed});
    click("PushButton6");
    EXPECT_EQ(workspace.storedNames("user_firstname"), QStringList({"Anne", "Zoé"}));
    EXPECT_EQ(dialogs.messages.back().text, passedOverMessage(mixed, 2));
    EXPECT_EQ(dialogs.messages.back().text,
              QStringLiteral("2 lines of %1 held control characters and were not imported.").arg(mixed));
}

TEST_F(FaultsTest, HostileNamesAreStoredShownDrawnAndDeletedExactly) {
    const QString fortyNine(49, u'a');
    const QStringList typed = {
        QStringLiteral("x'); drop table system_lastname; --"),
        QStringLiteral("100%_\\\" ;"),
        QString::fromUtf16(u"nul\0inside", 10),
        QStringLiteral("\u200Fعلي\u200E"),
        fortyNine + QStringLiteral("😀tail"), // the 50th character is two UTF-16 units
        QString(48, u'é') + QStringLiteral("e\u0301\u0301"),
        QStringLiteral("Le Floc'h"),
    };
    QStringList expected; // as stored: apostrophes removed, at most 50 characters, none cut in two
    for (QString name : typed) {
        name.remove(u'\'');
        expected << truncatedName(name);
    }
    EXPECT_EQ(expected[4], fortyNine + QStringLiteral("😀"));
    EXPECT_EQ(expected[5], QString(48, u'é') + QStringLiteral("e\u0301"));

    MainWindow& window = loadAndShow();
    for (const QString& name : typed) {
        dialogs.answerPrompt(name);
        click("PushButton5");
    }
    EXPECT_EQ(workspace.storedNames("system_lastname"), expected);
    // Imported from a file, the same names are stored the same way; all but the one with a NUL, which
    // would make the file no text file.
    click("Option8");
    QStringList inFile = typed;
    QStringList storedFromFile = expected;
    inFile.removeAt(2);
    storedFromFile.removeAt(2);
    // A file's names are put in normalisation form C first: the loose accent joins its letter.
    storedFromFile[4] = QString(49, u'é') + QStringLiteral("\u0301");
    dialogs.answerOpenFiles({namesFile(inFile)});
    click("PushButton7");
    EXPECT_EQ(workspace.storedNames("user_lastname"), storedFromFile);
    click("Option9");

    // Shown in proper case, one item each.
    QStringList shown;
    for (int i = 1; i <= window.listView2()->count(); ++i)
        shown << window.listView2()->item(i);
    QStringList proper;
    for (const QString& name : expected)
        proper << ProperCase(name);
    EXPECT_EQ(QSet<QString>(shown.begin(), shown.end()), QSet<QString>(proper.begin(), proper.end()));

    // Drawn as shown, spaces removed.
    window.listView1()->setItems(QStringList{QStringLiteral("Anne")});
    click("Option6"); // Last Name Only
    window.text1()->setText(QStringLiteral("500"));
    click("PushButton1");
    QSet<QString> drawable;
    for (const QString& name : shown)
        drawable << ProperCase(RemoveSpaces(name));
    const ListControl* results = this->results().listView1();
    ASSERT_EQ(results->count(), 500);
    QSet<QString> drawn;
    for (int i = 1; i <= results->count(); ++i)
        drawn << results->item(i);
    EXPECT_TRUE(drawn.subtract(drawable).isEmpty());
    this->results().backClick();

    // Deleted by what is shown: every one goes, and nothing else.
    workspace.storeNames("system_lastname", {QStringLiteral("Petit")});
    for (const QString& name : proper) {
        for (int i = 1; i <= window.listView2()->count(); ++i) {
            if (window.listView2()->item(i) == name) {
                window.listView2()->setCurrentIndex(window.listView2()->items().index(i - 1, 0));
                click("PushButton3");
                break;
            }
        }
    }
    EXPECT_EQ(workspace.storedNames("system_lastname"), QStringList{"Petit"});
    EXPECT_TRUE(dialogs.errorReports().isEmpty()) << dialogs.errorReports().join(u'\n').toStdString();
}

namespace {

/** The bytes the program holds on the heap now. */
double heapInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<double>(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
#endif
}

} // namespace

TEST_F(FaultsTest, AMillionResultsScrollToTheEndAndGiveTheirMemoryBack) {
    MainWindow& window = loadAndShow();
    window.listView1()->setItems(QStringList{QStringLiteral("Anne"), QStringLiteral("Marie")});
    window.listView2()->setItems(QStringList{QStringLiteral("Martin"), QStringLiteral("Petit")});
    window.text1()->setText(QStringLiteral("10"));
    click("PushButton1"); // the results window's first use, loaded once per program run
    results().backClick();
    const double before = heapInUse();

    window.text1()->setText(QStringLiteral("1000000"));
    click("PushButton1");
    ListControl* list = results().listView1();
    ASSERT_EQ(list->count(), 1'000'000);
    const double oneRun = heapInUse() - before;
    EXPECT_LT(oneRun, 64.0 * 1024 * 1024) << "a million results take little memory";

    // To the end and back to the start, as the keys take the user.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_End);
    EXPECT_EQ(list->currentIndex().row(), 999'999);
    const QRect last = list->visualRect(list->currentIndex());
    EXPECT_TRUE(list->viewport()->rect().contains(last.center())) << "the last name is in view";
    QTest::keyClick(list, Qt::Key_Home);
    EXPECT_EQ(list->currentIndex().row(), 0);

    // Back, and a new run of the same size: the first run's memory went back, none piles up.
    QTest::mouseClick(results().control(QStringLiteral("PushButton8")), Qt::LeftButton); // "< Back"
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(results().isVisible());
    click("PushButton1");
    ASSERT_EQ(list->count(), 1'000'000);
    EXPECT_LT(heapInUse() - before, oneRun + 4.0 * 1024 * 1024);
    // A small run after them: back to the level before the first.
    results().backClick();
    window.text1()->setText(QStringLiteral("10"));
    click("PushButton1");
    EXPECT_EQ(list->count(), 10);
    EXPECT_LT(heapInUse() - before, 4.0 * 1024 * 1024);
    EXPECT_TRUE(dialogs.messages.empty());
}
