#include "scripteddialogs.h"

#include "core/errorreport.h"

#include <gtest/gtest.h>

namespace quillory::test {

QStringList ScriptedDialogs::errorReports() const {
    QStringList reports;
    for (const ShownMessage& m : messages) {
        if (m.title == kErrorReportTitle)
            reports.append(m.text);
    }
    return reports;
}

void ScriptedDialogs::message(const QString& title, const QString& text, MessageIcon icon) {
    messages.push_back({title, text, icon});
    if (onMessage)
        onMessage(messages.back());
}

QString ScriptedDialogs::prompt(const QString& title, const QString& label) {
    promptsShown.push_back(label);
    if (m_promptAnswers.isEmpty()) {
        ADD_FAILURE() << "unscripted prompt: " << title.toStdString() << " / " << label.toStdString();
        return {};
    }
    return m_promptAnswers.dequeue();
}

QStringList ScriptedDialogs::openFiles(const QString& title, const QStringList& filters) {
    openFilesShown.push_back({title, filters, {}});
    if (m_openFilesAnswers.isEmpty()) {
        ADD_FAILURE() << "unscripted open-files picker: " << title.toStdString();
        return {};
    }
    return m_openFilesAnswers.dequeue();
}

QString ScriptedDialogs::chooseFolder(const QString& title, const QString& startFolder) {
    foldersShown.push_back({title, {}, startFolder});
    if (m_folderAnswers.isEmpty()) {
        ADD_FAILURE() << "unscripted folder picker: " << title.toStdString();
        return {};
    }
    return m_folderAnswers.dequeue();
}

std::optional<QString> ScriptedDialogs::askValue(const ValueQuestion& question) {
    questionsShown.push_back(question);
    if (m_valueAnswers.isEmpty()) {
        ADD_FAILURE() << "unscripted question: " << question.title.toStdString();
        return std::nullopt;
    }
    const std::optional<QString> answer = m_valueAnswers.dequeue();
    // A real dialog refuses a value it finds wrong; a script that gives one is a mistake of the test.
    if (answer && !answer->isEmpty()) {
        EXPECT_EQ(question.problemWith(*answer), QString()) << "the dialog would not take " << answer->toStdString();
    }
    return answer;
}

SavePick ScriptedDialogs::saveFile(const QString& title, const QString& suggested, const QStringList& filters,
                                   int selected) {
    savesShown.push_back({title, filters, suggested, selected});
    if (m_saveAnswers.isEmpty()) {
        ADD_FAILURE() << "unscripted save picker: " << title.toStdString();
        return {};
    }
    return m_saveAnswers.dequeue();
}

bool ScriptedDialogs::confirm(const QString& title, const QString& text) {
    confirmsShown.push_back({title, text, MessageIcon::None});
    if (m_confirmAnswers.isEmpty()) {
        ADD_FAILURE() << "unscripted question: " << text.toStdString();
        return false;
    }
    return m_confirmAnswers.dequeue();
}

void ScriptedDialogs::openUrl(const QUrl& url) {
    urlsOpened.append(url);
}

void ScriptedDialogs::openDocument(const QString& path) {
    documentsOpened.append(path);
    if (launchWith)
        launchWith->openDocument(path);
}

void ScriptedDialogs::startProgram(const QString& program, const QStringList& arguments) {
    programsStarted.push_back(QStringList{program} + arguments);
    if (onStartProgram)
        onStartProgram(programsStarted.back());
    if (launchWith)
        launchWith->startProgram(program, arguments);
}

ScriptedDialogs::~ScriptedDialogs() {
    EXPECT_TRUE(m_promptAnswers.isEmpty()) << "scripted prompt answers left unused";
    EXPECT_TRUE(m_openFilesAnswers.isEmpty()) << "scripted file picks left unused";
    EXPECT_TRUE(m_folderAnswers.isEmpty()) << "scripted folder picks left unused";
    EXPECT_TRUE(m_valueAnswers.isEmpty()) << "scripted answers to questions left unused";
    EXPECT_TRUE(m_saveAnswers.isEmpty()) << "scripted save picks left unused";
    EXPECT_TRUE(m_confirmAnswers.isEmpty()) << "scripted Yes/No answers left unused";
}

} // namespace quillory::test
