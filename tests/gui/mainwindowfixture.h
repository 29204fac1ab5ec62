#pragma once

#include "core/appcontext.h"
#include "core/random.h"
#include "core/settings.h"
#include "scripteddialogs.h"
#include "tempworkspace.h"
#include "ui/listcontrol.h"
#include "widgets/mainwindow.h"
#include "widgets/resultswindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QSet>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace quillory::test {

// The width the style leaves for a button's caption: beside the indicator of an option, inside the
// margins of a push button.
inline int captionRoom(QAbstractButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const bool radio = qobject_cast<QRadioButton*>(button) != nullptr;
    return button->style()
        ->subElementRect(radio ? QStyle::SE_RadioButtonContents : QStyle::SE_PushButtonContents, &option, button)
        .width();
}

/**
 * The menus under `root` (its menu bar included) in which two items share a mnemonic, each as
 * "menu: letter", so that Alt and a letter always mean one item.
 */
inline QStringList sharedMnemonics(const QWidget* root) {
    QStringList clashes;
    QList<const QWidget*> menus;
    for (const QMenuBar* bar : root->findChildren<QMenuBar*>())
        menus << bar;
    for (const QMenu* menu : root->findChildren<QMenu*>())
        menus << menu;
    for (const QWidget* menu : menus) {
        QSet<QChar> seen;
        for (const QAction* action : menu->actions()) {
            const QString text = action->text();
            for (qsizetype at = text.indexOf(u'&'); at >= 0 && at + 1 < text.size(); at = text.indexOf(u'&', at + 2)) {
                if (text[at + 1] == u'&')
                    continue;
                const QChar key = text[at + 1].toLower();
                if (seen.contains(key))
                    clashes << menu->objectName() + QStringLiteral(": ") + key;
                seen.insert(key);
                break;
            }
        }
    }
    return clashes;
}

/** A start time whose first roll is not 7, so loading never opens the home page unless a test wants it. */
inline const QTime kQuietStart(10, 0, 0);

/**
 * A main window on a private workspace: an empty names.mdb in its program folder (unless a test
 * removes or replaces it), a settings file of its own, scripted dialogs, a fixed clock and a desktop
 * folder and cache of its own, and LibreOffice as the (never started) spreadsheet application.
 * "Start Generating" makes a real results window.
 */
class MainWindowFixture : public ::testing::Test {
protected:
    MainWindowFixture() {
        workspace.createNameDatabase();
        QDir().mkpath(workspace.path(QStringLiteral("Desktop")));
    }

    MainWindow& makeWindow(QTime start = kQuietStart) {
        m_start = start;
        m_window.reset();
        m_context = std::make_unique<AppContext>(AppContext{
            .dialogs = dialogs,
            .paths = paths ? *paths : workspace.paths(),
            .settings = settings,
            .random = random,
            .timeOfDay = [this] { return m_start; },
            .endProgram = [this] { ++endProgramCalls; },
            .desktopPath = [this] { return desktopPath(); },
            .cacheFolder = [this] { return cacheFolder(); },
            .now = [this] { return now; },
            .newSeed = [this] { return nextSeed; },
            .spreadsheetLookup = {.findProgram = [this](const QString& name) { return installedPrograms.value(name); },
                                  .desktopOpensWorkbooks = [this] { return desktopOpensWorkbooks; }},
        });
        m_window = std::make_unique<MainWindow>(
            *m_context, [this](QWidget& main) { return std::make_unique<ResultsWindow>(*m_context, &main); });
        return *m_window;
    }

    MainWindow& loadAndShow(QTime start = kQuietStart) {
        MainWindow& window = makeWindow(start);
        window.load();
        window.showAtStart();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        return window;
    }

    /** The results window of the window made last (made now if "Start Generating" has not yet). */
    ResultsWindow& results() { return static_cast<ResultsWindow&>(m_window->resultsWindow()); }

    /** The workspace's desktop folder with its trailing separator, the save folder's default. */
    QString desktop() const { return workspace.path(QStringLiteral("Desktop")) + QLatin1Char('/'); }

    QWidget* control(const char* name) { return m_window->control(QString::fromUtf8(name)); }
    QRadioButton* option(const char* name) { return qobject_cast<QRadioButton*>(control(name)); }

    void moveOver(const char* name) {
        QWidget* target = control(name);
        QTest::mouseMove(target, QPoint(target->width() - 3, target->height() - 3));
        QCoreApplication::processEvents();
    }

    void installHandCursor() { workspace.writeFile(QStringLiteral("program/HAND-M.CUR"), shippedHandCursor()); }

    TempWorkspace workspace;
    /** The program's paths, when a test wants others than the workspace's program folder alone. */
    std::optional<AppPaths> paths;
    ScriptedDialogs dialogs;
    SettingsStore settings{workspace.settingsFile()};
    RandomSource random;
    int endProgramCalls = 0;
    /** Where the program finds the desktop; a test may make it fail. */
    std::function<QString()> desktopPath = [this] { return desktop(); };
    /** The program's cache folder; a test may make it fail. */
    std::function<QString()> cacheFolder = [this] { return workspace.path(QStringLiteral("cache")); };
    QDateTime now{QDate(2026, 12, 7), QTime(10, 0)};
    /** The seed of a run drawn as quillory-cli draws when the user chose none. */
    std::uint64_t nextSeed = 20261208;
    /** The system the spreadsheet application is looked for on: LibreOffice installed, unless a test says otherwise. */
    QHash<QString, QString> installedPrograms{{QStringLiteral("soffice"), kOfficeProgram}};
    bool desktopOpensWorkbooks = false;
    static inline const QString kOfficeProgram = QStringLiteral("/opt/office/program/soffice");

private:
    QTime m_start;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<MainWindow> m_window;
};

} // namespace quillory::test
