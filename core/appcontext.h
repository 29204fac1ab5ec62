#pragma once

#include "apppaths.h"
#include "procedures.h"
#include "random.h"
#include "spreadsheet.h"

#include <QDateTime>
#include <QTime>

#include <cstdint>
#include <functional>

namespace quillory {

class Dialogs;
class SettingsStore;

/**
 * What the windows receive from their owner instead of reaching for globals: the dialogs seam, the
 * program folder, the user's settings, the random sequence, the clock, how the program ends, and the
 * user's folders and spreadsheet application. main() wires the real ones; tests wire scripted
 * dialogs, temporary folders and settings file, a fixed time, a recorder and a made-up system.
 */
struct AppContext {
    Dialogs& dialogs;
    AppPaths paths;
    SettingsStore& settings;
    RandomSource& random;
    std::function<QTime()> timeOfDay;
    std::function<void()> endProgram;
    /** The desktop folder with a trailing separator, the save folder's default; throws when unknown. */
    std::function<QString()> desktopPath = GetDesktopPath;
    /** The program's private folder for files made for other applications; throws when unknown. */
    std::function<QString()> cacheFolder = GetCacheFolder;
    /** The date and time now, for the age of those files. */
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    /** A seed for a run drawn as quillory-cli draws, when the user chose none (the system's randomness). */
    std::function<std::uint64_t()> newSeed = systemSeed;
    /** How the user's spreadsheet application is found. */
    SpreadsheetApplication::SystemLookup spreadsheetLookup = SpreadsheetApplication::thisSystem();
};

} // namespace quillory
