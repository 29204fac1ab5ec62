#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace quillory {

class Dialogs;

/** What the user is told when no application on the system can take a workbook. */
QString noSpreadsheetMessage();

/**
 * The user's spreadsheet application, as far as the program needs one: something that takes a
 * finished .xlsx workbook and shows it to the user.
 *
 * LibreOffice is started with "-n", which makes a new untitled document from the file, so nothing is
 * saved until the user saves it somewhere of their choosing. Any other application is reached
 * through the desktop's default for .xlsx files, which opens the file itself.
 */
class SpreadsheetApplication {
public:
    /** What the search asks of the system; tests answer it themselves. */
    struct SystemLookup {
        /** The full path of an installed program by its name ("soffice"), or empty text. */
        std::function<QString(const QString& name)> findProgram;
        /** Whether the desktop names a default application for .xlsx files. */
        std::function<bool()> desktopOpensWorkbooks;
    };

    /** This system: the program search path and the usual install folders; the desktop's MIME defaults. */
    static SystemLookup thisSystem();

    /** LibreOffice if installed, else the desktop's default application; nothing when neither. */
    static std::optional<SpreadsheetApplication> lookFor(const SystemLookup& lookup);
    /** The same; throws AppError when neither. */
    static SpreadsheetApplication find(const SystemLookup& lookup);

    static SpreadsheetApplication libreOffice(QString program);
    static SpreadsheetApplication desktopDefault();

    /** Hands the workbook file over without waiting for the application. Throws AppError on failure. */
    void open(Dialogs& dialogs, const QString& workbook) const;

    /** The LibreOffice program started, or empty text for the desktop's default application. */
    const QString& program() const { return m_program; }

private:
    explicit SpreadsheetApplication(QString program) : m_program(std::move(program)) {}

    QString m_program;
};

} // namespace quillory
