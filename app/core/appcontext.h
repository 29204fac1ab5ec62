#pragma once

#include "apppaths.h"
#include "procedures.h"

#include <QTime>

#include <functional>

namespace quillory {

class Dialogs;
class RandomSource;
class SettingsStore;

/**
 * What the windows receive from their owner instead of reaching for globals: the dialogs seam, the
 * program folder, the user's settings, the random sequence, the clock, and how the program ends.
 * main() wires the real ones; tests wire scripted dialogs, a temporary folder and settings file, a
 * fixed time and a recorder.
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
};

} // namespace quillory
