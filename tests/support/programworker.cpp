// A copy of the program for tests that need a second process: the real windows on the offscreen
// platform, with a program folder, settings and answers given on the command line.
//
//   quillory-worker import PROGRAM_FOLDER FILE
//       loads the main window, prints "ready", waits for a line on standard input, then imports FILE
//       through "Load First Names From File". Two copies given the line together import at once.
//       A program folder the user may not write keeps the names in the user's data folder, as the
//       program does.
//   quillory-worker save PROGRAM_FOLDER SAVE_FOLDER COUNT [FILE_SIZE_LIMIT | kill-before-replace]
//       generates COUNT names, then saves them as results.txt in SAVE_FOLDER. It prints "saving" just
//       before the click; with a limit, no file may grow past it and the process dies of SIGXFSZ in
//       the middle of the write; with kill-before-replace it dies of SIGKILL once the whole new file
//       is written, before it takes the earlier one's place.
//
// The exit code is the number of "Application Error" reports shown (0 when all went well); each
// report and message is printed on standard error.
#include "core/appcontext.h"
#include "core/appinfo.h"
#include "core/dialogs.h"
#include "core/errorreport.h"
#include "core/outputfile.h"
#include "core/random.h"
#include "core/settings.h"
#include "core/textoutput.h"
#include "ui/listcontrol.h"
#include "widgets/mainwindow.h"
#include "widgets/resultswindow.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <sys/resource.h>

using namespace quillory;

namespace {

class WorkerDialogs : public Dialogs {
public:
    QStringList filesToPick;
    int reports = 0;

    void message(const QString& title, const QString& text, MessageIcon) override {
        if (title == kErrorReportTitle)
            ++reports;
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    }
    QString prompt(const QString&, const QString&) override { return {}; }
    QStringList openFiles(const QString&, const QStringList&) override { return filesToPick; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    std::optional<QString> askValue(const ValueQuestion&) override { return std::nullopt; }
    SavePick saveFile(const QString&, const QString&, const QStringList&, int) override { return {}; }
    bool confirm(const QString&, const QString&) override { return false; }
    void openUrl(const QUrl&) override {}
    void openDocument(const QString&) override {}
    void startProgram(const QString&, const QStringList&) override {}
};

int usage() {
    std::fprintf(
        stderr,
        "usage: quillory-worker import PROGRAM_FOLDER FILE\n"
        "       quillory-worker save PROGRAM_FOLDER SAVE_FOLDER COUNT [FILE_SIZE_LIMIT | kill-before-replace]\n");
    return 100;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    openClosedStandardStreams();
    removeTemporariesOnSignals();
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() < 3)
        return usage();
    const QString& command = args[0];
    const QString programFolder = args[1];

    WorkerDialogs dialogs;
    RandomSource random;
    // Settings of its own, where any user may write: the program folder may be an installed one.
    QTemporaryDir settingsFolder;
    SettingsStore settings(settingsFolder.filePath(QStringLiteral("worker.ini")));
    QApplication::setOrganizationName(appinfo::kSettingsOrganisation);
    QApplication::setApplicationName(appinfo::kSettingsSection);
    AppContext context{
        .dialogs = dialogs,
        // The user's data folder as the program has it, for a program folder the user may not write.
        .paths = AppPaths(programFolder, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)),
        .settings = settings,
        .random = random,
        .timeOfDay = [] { return QTime(10, 0); },
        .endProgram = [] {},
        .desktopPath = [&] { return programFolder + QLatin1Char('/'); },
        .cacheFolder = [&] { return QDir(programFolder).filePath(QStringLiteral("cache")); },
    };
    MainWindow window(context, [&](QWidget& main) { return std::make_unique<ResultsWindow>(context, &main); });
    window.load();
    window.showAtStart();

    if (command == u"import" && args.size() == 3) {
        dialogs.filesToPick = {args[2]};
        std::printf("ready\n");
        std::fflush(stdout);
        std::string go;
        std::getline(std::cin, go);
        qobject_cast<QPushButton*>(window.control(QStringLiteral("PushButton6")))->click();
    } else if (command == u"save" && (args.size() == 4 || args.size() == 5)) {
        window.text1()->setText(args[3]);
        window.startGenerating();
        auto& results = static_cast<ResultsWindow&>(window.resultsWindow());
        results.text2()->setText(args[2]);
        if (args.size() == 5 && args[4] == u"kill-before-replace") {
            OutputFile::setBeforeCommitHook([] { ::raise(SIGKILL); });
        } else if (args.size() == 5) {
            const rlimit limit{args[4].toULongLong(), RLIM_INFINITY};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        std::printf("saving\n");
        std::fflush(stdout);
        qobject_cast<QPushButton*>(results.control(QStringLiteral("PushButton2")))->click();
    } else {
        return usage();
    }
    return dialogs.reports;
}
