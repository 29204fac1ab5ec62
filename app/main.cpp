#include "core/appcontext.h"
#include "core/appinfo.h"
#include "core/outputfile.h"
#include "core/random.h"
#include "core/settings.h"
#include "store/lastnamespellings.h"
#include "ui/programicon.h"
#include "ui/qtdialogs.h"
#include "ui/translations.h"
#include "widgets/mainwindow.h"
#include "widgets/resultswindow.h"

#include <QApplication>
#include <QLocale>
#include <QTime>

#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

// The window takes no arguments of its own; --help and --version answer without opening a window, so
// they work where there is no display, and the manual page is made from them.
const char kHelp[] =
    "Usage: quillory [OPTION]...\n"
    "Makes lists of random French personal names in a window: first and last names, first names only\n"
    "or last names only, up to a million at a time, drawn from Halvard's List (the built-in names, from\n"
    "INSEE's birth registers) or from your own User List, which you keep in the window. The names are\n"
    "saved as results.txt in a folder of your choosing or handed to your spreadsheet application.\n"
    "\n"
    "Options:\n"
    "  -h, --help     display this help and exit\n"
    "      --version  output version information and exit\n"
    "\n"
    "Qt's own options (such as -platform or -style) are accepted as well.\n"
    "\n"
    "Files:\n"
    "  names.mdb, beside the program, holds every name. When you may not write the program's folder\n"
    "  (an installed program), your names are kept in your own copy of it,\n"
    "  ~/.local/share/Obrenna/Quillory/names.mdb, made the first time it is needed.\n"
    "  ~/.config/Obrenna/Quillory.conf keeps your choices.\n"
    "\n"
    "See also quillory-cli(1), the same names for scripts and pipelines.\n";

bool asked(int argc, char* argv[], const char* shortOption, const char* longOption) {
    for (int i = 1; i < argc; ++i)
        if ((shortOption != nullptr && std::strcmp(argv[i], shortOption) == 0) || std::strcmp(argv[i], longOption) == 0)
            return true;
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    // Before anything opens a file: a closed standard stream must not become one of the program's files.
    quillory::openClosedStandardStreams();
    // A save interrupted by a signal takes its half-written file with it.
    quillory::removeTemporariesOnSignals();
    // A named pipe whose reader went away fails its write (and is reported) instead of ending the program.
    std::signal(SIGPIPE, SIG_IGN);
    if (asked(argc, argv, "-h", "--help")) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (asked(argc, argv, nullptr, "--version")) {
        std::printf("quillory (Quillory) %s\n%s\n", qPrintable(quillory::appinfo::kVersion),
                    qPrintable(quillory::builtInNamesLine()));
        return 0;
    }
    QApplication app(argc, argv);
    quillory::installTranslations(QLocale());
    QApplication::setOrganizationName(quillory::appinfo::kSettingsOrganisation);
    QApplication::setApplicationName(quillory::appinfo::kSettingsSection);
    QApplication::setWindowIcon(quillory::programIcon());
    // The two windows take turns; the program ends when the shown one closes, not when the other hides.
    QApplication::setQuitOnLastWindowClosed(false);

    quillory::QtDialogs dialogs;
    quillory::RandomSource random;
    const auto settings = quillory::SettingsStore::forCurrentUser();
    quillory::AppContext context{
        .dialogs = dialogs,
        .paths = quillory::AppPaths::forRunningProgram(),
        .settings = *settings,
        .random = random,
        .timeOfDay = [] { return QTime::currentTime(); },
        .endProgram = [] { QCoreApplication::quit(); },
    };

    quillory::MainWindow mainWindow(
        context, [&context](QWidget& window) { return std::make_unique<quillory::ResultsWindow>(context, &window); });
    mainWindow.load();
    mainWindow.showAtStart();
    return app.exec();
}
