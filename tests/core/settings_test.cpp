#include "core/apperror.h"
#include "core/apppaths.h"
#include "core/procedures.h"
#include "core/settings.h"
#include "tempworkspace.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using namespace quillory;

TEST(SettingsStoreTest, KeepsTextsUnderTheSectionAcrossRuns) {
    test::TempWorkspace workspace;
    {
        SettingsStore store(workspace.settingsFile());
        EXPECT_EQ(store.ReadSetting(QStringLiteral("Text1"), QStringLiteral("100")), QStringLiteral("100"));
        store.StoreSetting(QStringLiteral("Option8"), truthText(true));
        store.StoreSetting(QStringLiteral("Option9"), truthText(false));
        store.StoreSetting(QStringLiteral("Text1"), QString());
        store.StoreSetting(QStringLiteral("Text2"), QStringLiteral("/home/anne/Bureau, mes noms/"));
        // Written at once, not when the store goes away.
        QFile file(workspace.settingsFile());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        EXPECT_TRUE(text.startsWith("[Quillory]\n")) << text.constData();
        EXPECT_TRUE(text.contains("Option8=True\n")) << text.constData();
    }
    // A later run reads what an earlier one stored; an empty text is a value, not an absence.
    SettingsStore later(workspace.settingsFile());
    EXPECT_EQ(later.ReadSetting(QStringLiteral("Option8"), QStringLiteral("0")), QStringLiteral("True"));
    EXPECT_EQ(later.ReadSetting(QStringLiteral("Option9"), QStringLiteral("1")), QStringLiteral("False"));
    EXPECT_EQ(later.ReadSetting(QStringLiteral("Text1"), QStringLiteral("100")), QString());
    EXPECT_EQ(later.ReadSetting(QStringLiteral("Text2"), QString()), QStringLiteral("/home/anne/Bureau, mes noms/"));
}

TEST(SettingsStoreTest, SeesWhatAnotherCopyStored) {
    test::TempWorkspace workspace;
    SettingsStore first(workspace.settingsFile());
    SettingsStore second(workspace.settingsFile());
    EXPECT_EQ(second.ReadSetting(QStringLiteral("Text1"), QStringLiteral("100")), QStringLiteral("100"));
    first.StoreSetting(QStringLiteral("Text1"), QStringLiteral("250"));
    EXPECT_EQ(second.ReadSetting(QStringLiteral("Text1"), QStringLiteral("100")), QStringLiteral("250"));
}

TEST(SettingsStoreTest, AHandEditedValueWithCommasReadsAsWritten) {
    test::TempWorkspace workspace;
    workspace.writeFile(QStringLiteral("settings.ini"), "[Quillory]\nText1=1,000\n");
    SettingsStore store(workspace.settingsFile());
    EXPECT_EQ(store.ReadSetting(QStringLiteral("Text1"), QStringLiteral("100")), QStringLiteral("1,000"));
}

TEST(SettingsStoreTest, AStoreThatCannotBeWrittenFails) {
    test::TempWorkspace workspace;
    // A file where the settings folder should be: nobody, root included, can write below it.
    const QString blocker = workspace.writeFile(QStringLiteral("blocked"), "a file");
    SettingsStore store(blocker + QStringLiteral("/settings.ini"));
    EXPECT_THROW(store.StoreSetting(QStringLiteral("Text1"), QStringLiteral("5")), AppError);
}

TEST(TruthTextTest, ReadsWordsInAnyCaseAndNumbers) {
    EXPECT_EQ(truthText(true), QStringLiteral("True"));
    EXPECT_EQ(truthText(false), QStringLiteral("False"));
    for (const char* on : {"True", "TRUE", "true", " tRuE ", "1", "-1", "2.5", "1e3", "  7"})
        EXPECT_TRUE(truthFromText(QString::fromUtf8(on))) << on;
    for (const char* off : {"False", "FALSE", "false", "0", "0.0", "-0", " 0 "})
        EXPECT_FALSE(truthFromText(QString::fromUtf8(off))) << off;
}

TEST(TruthTextTest, AnythingElseIsATypeMismatch) {
    for (const char* bad : {"yes", "", " ", "Vrai", "on", "1 0", "nan", "inf", "True!", "0x"}) {
        try {
            truthFromText(QString::fromUtf8(bad));
            ADD_FAILURE() << "accepted: " << bad;
        } catch (const AppError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Type mismatch")) << bad;
        }
    }
}

// The real user's places, not a test's: with HOME pointing at a folder of its own, in a child process
// (this one runs in Qt's test mode, which keeps every test out of the user's folders).
TEST(UserFolders, AreTheUsersOwnUnderHome) {
    if (qEnvironmentVariableIsEmpty("QUILLORY_USER_FOLDERS")) {
        test::TempWorkspace home;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* variable : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
            environment.remove(QString::fromLatin1(variable));
        environment.insert(QStringLiteral("HOME"), home.root());
        environment.insert(QStringLiteral("QUILLORY_USER_FOLDERS"), QStringLiteral("1"));
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=UserFolders.*")});
        ASSERT_TRUE(child.waitForFinished(60'000));
        const QByteArray out = child.readAllStandardOutput();
        EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
        EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.toStdString();
        QFile stored(home.path(QStringLiteral(".config/Obrenna/Quillory.conf")));
        ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
        EXPECT_EQ(stored.readAll(), "[Quillory]\nText1=42\n");
        return;
    }
    QCoreApplication::setOrganizationName(QStringLiteral("Obrenna"));
    QCoreApplication::setApplicationName(QStringLiteral("Quillory"));
    const QString home = qEnvironmentVariable("HOME");
    const auto store = SettingsStore::forCurrentUser();
    EXPECT_EQ(store->location(), home + QStringLiteral("/.config/Obrenna/Quillory.conf"));
    store->StoreSetting(QStringLiteral("Text1"), QStringLiteral("42"));
    EXPECT_EQ(GetCacheFolder(), home + QStringLiteral("/.cache/Obrenna/Quillory"));
    EXPECT_EQ(AppPaths::forRunningProgram().userDataFolder(), home + QStringLiteral("/.local/share/Obrenna/Quillory"));
}
