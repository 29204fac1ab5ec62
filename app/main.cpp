#include "core/appcontext.h"
#include "core/appinfo.h"
#include "core/random.h"
#include "core/settings.h"
#include "widgets/mainwindow.h"
#include "widgets/programicon.h"
#include "widgets/qtdialogs.h"

#include <QApplication>
#include <QTime>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(quillory::appinfo::kSettingsOrganisation);
    QApplication::setApplicationName(quillory::appinfo::kSettingsSection);
    QApplication::setWindowIcon(quillory::programIcon());

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

    quillory::MainWindow mainWindow(context);
    mainWindow.load();
    mainWindow.showAtStart();
    return app.exec();
}
