#pragma once

#include "core/dialogs.h"

class QWidget;

namespace quillory {

/** The real dialogs: Qt's message boxes, input dialog and file dialogs, and the desktop's opener. */
class QtDialogs : public Dialogs {
public:
    void message(const QString& title, const QString& text, MessageIcon icon) override;
    QString prompt(const QString& title, const QString& label) override;
    QStringList openFiles(const QString& title, const QStringList& filters) override;
    QString chooseFolder(const QString& title, const QString& startFolder) override;
    std::optional<QString> askValue(const ValueQuestion& question) override;
    SavePick saveFile(const QString& title, const QString& suggested, const QStringList& filters,
                      int selected) override;
    bool confirm(const QString& title, const QString& text) override;
    void openUrl(const QUrl& url) override;
    void openDocument(const QString& path) override;
    void startProgram(const QString& program, const QStringList& arguments) override;

    /** The program's texts break lines with CR, CR LF or LF; a Qt label wants LF. */
    static QString toDisplayText(const QString& text);

    /**
     * A file filter as the file dialog matches it here: "*.*" means every file, as it does on
     * Windows, not only names with a dot.
     */
    static QString toPlatformFilter(const QString& filter);

private:
    static QWidget* owner();
};

} // namespace quillory
