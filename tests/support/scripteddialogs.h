#pragma once

#include "core/dialogs.h"

#include <QList>
#include <QQueue>

#include <functional>
#include <optional>
#include <vector>

namespace quillory::test {

struct ShownMessage {
    QString title;
    QString text;
    MessageIcon icon;
};

struct PickerRequest {
    QString title;
    QStringList filters;    // open-files and save pickers
    QString startFolder;    // folder picker; the suggested path for the save picker
    int selectedFilter = 0; // save picker
};

/**
 * Dialogs for tests: answers come from a script queued beforehand, and everything shown is recorded.
 * A prompt or picker that was not scripted fails the test and answers Cancel, so nothing ever blocks.
 */
class ScriptedDialogs : public Dialogs {
public:
    void answerPrompt(const QString& text) { m_promptAnswers.enqueue(text); }
    void answerOpenFiles(const QStringList& paths) { m_openFilesAnswers.enqueue(paths); }
    void answerFolder(const QString& path) { m_folderAnswers.enqueue(path); }
    /** The answer to the next question: a value, empty text for none, nothing for Cancel. */
    void answerValue(std::optional<QString> value) { m_valueAnswers.enqueue(std::move(value)); }
    void answerSaveFile(const QString& path, int filter) { m_saveAnswers.enqueue({path, filter}); }
    /** The answer to the next Yes/No question. */
    void answerConfirm(bool yes) { m_confirmAnswers.enqueue(yes); }

    /** Called as each message is shown, while the caller waits for it, to look at the program then. */
    std::function<void(const ShownMessage&)> onMessage;
    /**
     * Where documents are opened and programs started for real, when a test wants the real seam
     * (QtDialogs) rather than a record of the call alone.
     */
    Dialogs* launchWith = nullptr;
    /** Called as each program is started (the program, then its arguments). */
    std::function<void(const QStringList&)> onStartProgram;

    std::vector<ShownMessage> messages;
    std::vector<QString> promptsShown;
    std::vector<PickerRequest> openFilesShown;
    std::vector<PickerRequest> foldersShown;
    std::vector<ValueQuestion> questionsShown;
    std::vector<PickerRequest> savesShown; // startFolder holds the suggested path
    std::vector<ShownMessage> confirmsShown;
    QList<QUrl> urlsOpened;
    QStringList documentsOpened;
    /** Each program started: the program, then its arguments. */
    std::vector<QStringList> programsStarted;

    /** The texts of the "Application Error" reports shown so far. */
    QStringList errorReports() const;

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

    /** Fails the test when scripted answers were left unused. */
    ~ScriptedDialogs() override;

private:
    QQueue<QString> m_promptAnswers;
    QQueue<QStringList> m_openFilesAnswers;
    QQueue<QString> m_folderAnswers;
    QQueue<std::optional<QString>> m_valueAnswers;
    QQueue<SavePick> m_saveAnswers;
    QQueue<bool> m_confirmAnswers;
};

} // namespace quillory::test
