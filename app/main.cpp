#include "core/appcontext.h"
#include "core/appinfo.h"
#include "core/random.h"
#include "core/settings.h"
#include "widgets/mainwindow.h"
#include "widgets/programicon.h"
#include "widgets/qtdialogs.h"
#include "widgets/resultswindow.h"

#include <QApplication>
#include <QTime>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
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

    quillory::MainWindow mainWindow(context, [&context](quillory::MainWindow& window) {
        return std::make_unique<quillory::ResultsWindow>(context, &window);
    });
    mainWindow.load();
    mainWindow.showAtStart();
    return app.exec();
}
