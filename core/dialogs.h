#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

namespace quillory {

enum class MessageIcon { None, Information, Warning, Critical };

/**
 * A question with one answer or none: the choice labelled `noneLabel` ("Any year"), or a value typed
 * in a box labelled `valueLabel`. `problemWith` tells what is wrong with a value typed, or gives empty
 * text when it is right: the answer is taken only once it is.
 */
struct ValueQuestion {
    QString title;
    QString noneLabel;
    QString valueLabel;
    /** The answer given before: empty text for none. */
    QString current;
    /** What a value looks like, shown in the empty box. */
    QString example;
    std::function<QString(const QString&)> problemWith;
};

/** What a save picker gives back: the path chosen (empty when cancelled) and the place of the filter chosen. */
struct SavePick {
    QString path;
    int filter = -1;
};

/**
 * Everything modal or external that the program asks of the desktop. Windows and procedures receive
 * it from their owner, so tests can script the answers and check what would have been shown.
 *
 * Texts are passed exactly as the program composes them, with CR, CR LF or LF line breaks; turning
 * them into what a particular toolkit shows is the implementation's business.
 */
class Dialogs {
public:
    virtual ~Dialogs() = default;

    /** A modal message box with a single OK button. Returns when the user has dismissed it. */
    virtual void message(const QString& title, const QString& text, MessageIcon icon) = 0;

    /** A modal prompt with an empty input field, OK and Cancel. Cancel gives empty text. */
    virtual QString prompt(const QString& title, const QString& label) = 0;

    /**
     * A modal picker for one or several existing or typed file names. Filters are shown in the order
     * given, e.g. "Text Files (*.txt)". Returns full paths in the order chosen; empty when cancelled.
     */
    virtual QStringList openFiles(const QString& title, const QStringList& filters) = 0;

    /** A modal folder picker that accepts folders only. Returns the chosen path, or empty text. */
    virtual QString chooseFolder(const QString& title, const QString& startFolder) = 0;

    /** A modal question with one answer or none (see ValueQuestion); nothing when cancelled. */
    virtual std::optional<QString> askValue(const ValueQuestion& question) = 0;

    /**
     * A modal picker for a file to write, starting at `suggested` (a folder and a name), with the
     * filters shown in the order given. It does not ask before a file is replaced: the caller, which
     * knows the name that will really be written (with its ending), asks with confirm(). The filter
     * at `selected` is the one chosen at first.
     */
    virtual SavePick saveFile(const QString& title, const QString& suggested, const QStringList& filters,
                              int selected) = 0;

    /** A modal question answered Yes or No (No by default); true for Yes. */
    virtual bool confirm(const QString& title, const QString& text) = 0;

    /** Opens a web address in the user's browser without waiting for it. */
    virtual void openUrl(const QUrl& url) = 0;

    /**
     * Opens a document with the desktop's default application for its type, without waiting.
     * Throws AppError when no application takes it.
     */
    virtual void openDocument(const QString& path) = 0;

    /** Starts a program with its arguments, without waiting for it. Throws AppError when it cannot start. */
    virtual void startProgram(const QString& program, const QStringList& arguments) = 0;
};

} // namespace quillory
