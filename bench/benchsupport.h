#pragma once

#include "core/appcontext.h"
#include "core/dialogs.h"
#include "core/random.h"
#include "core/settings.h"

#include <QTemporaryDir>

namespace quillory::bench {

/**
 * Dialogs that count what would have been shown: any showing spoils a measurement. The file picker
 * answers with `filesToPick` when a benchmark sets them.
 */
class CountingDialogs : public Dialogs {
public:
    int shown = 0;
    QStringList filesToPick;
    void message(const QString&, const QString&, MessageIcon) override { ++shown; }
    QString prompt(const QString&, const QString&) override { return ++shown, QString(); }
    QStringList openFiles(const QString&, const QStringList&) override {
        if (filesToPick.isEmpty())
            ++shown;
        return filesToPick;
    }
    QString chooseFolder(const QString&, const QString&) override { return ++shown, QString(); }
    std::optional<QString> askValue(const ValueQuestion&) override { return ++shown, std::nullopt; }
    SavePick saveFile(const QString&, const QString&, const QStringList&, int) override { return ++shown, SavePick(); }
    bool confirm(const QString&, const QString&) override { return ++shown, false; }
    void openUrl(const QUrl&) override {}
    void openDocument(const QString&) override { ++shown; }
    /** Programs started, e.g. the spreadsheet application a workbook is handed to; none is really started. */
    int started = 0;
    void startProgram(const QString&, const QStringList&) override { ++started; }
};

/**
 * A program folder, settings file, desktop and cache of its own in a temporary folder, with a fixed
 * clock, and a spreadsheet application that is never really started.
 */
struct Workbench {
    QTemporaryDir dir;
    CountingDialogs dialogs;
    SettingsStore settings{dir.filePath(QStringLiteral("settings.ini"))};
    RandomSource random{20261207};
    AppContext context{dialogs,
                       AppPaths(dir.path()),
                       settings,
                       random,
                       [] { return QTime(10, 0); },
                       [] {},
                       [this] { return dir.path() + QLatin1Char('/'); },
                       [this] { return dir.filePath(QStringLiteral("cache")); },
                       [] { return QDateTime(QDate(2026, 12, 7), QTime(10, 0)); },
                       [] { return std::uint64_t{20261207}; },
                       {[](const QString& name) { return QStringLiteral("/usr/bin/") + name; }, [] { return true; }}};
};

} // namespace quillory::bench
