#pragma once

class QLocale;

namespace quillory {

/**
 * Puts the interface in the language of `locale` where a translation exists: Quillory's own texts
 * (built into the program) and Qt's (its dialogs and buttons, from the system's Qt translations). In
 * any other language nothing is installed and the texts stay as written. Returns whether Quillory's
 * own translation was found.
 */
bool installTranslations(const QLocale& locale);

/** Takes the translations installed above out again. */
void removeTranslations();

} // namespace quillory
