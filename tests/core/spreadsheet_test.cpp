#include "core/apperror.h"
#include "core/spreadsheet.h"
#include "scripteddialogs.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quillory;

namespace {

/** A made-up system with the given programs installed and, or not, a desktop default for workbooks. */
SpreadsheetApplication::SystemLookup systemWith(QHash<QString, QString> programs, bool desktopDefault) {
    return {.findProgram = [programs](const QString& name) { return programs.value(name); },
            .desktopOpensWorkbooks = [desktopDefault] { return desktopDefault; }};
}

} // namespace

TEST(SpreadsheetApplication, LibreOfficeComesFirstThenTheDesktopDefault) {
    const QString soffice = QStringLiteral("/usr/bin/soffice");
    const QString libreoffice = QStringLiteral("/opt/lo/libreoffice");
    EXPECT_EQ(
        SpreadsheetApplication::find(systemWith({{"soffice", soffice}, {"libreoffice", libreoffice}}, true)).program(),
        soffice);
    EXPECT_EQ(SpreadsheetApplication::find(systemWith({{"libreoffice", libreoffice}}, true)).program(), libreoffice);
    EXPECT_EQ(SpreadsheetApplication::find(systemWith({}, true)).program(), QString());
    try {
        SpreadsheetApplication::find(systemWith({{"gnumeric", "/usr/bin/gnumeric"}}, false));
        ADD_FAILURE() << "found an application on a system without one";
    } catch (const AppError& e) {
        EXPECT_EQ(e.message(), noSpreadsheetMessage());
    }
}

TEST(SpreadsheetApplication, LibreOfficeMakesANewDocumentFromTheFileTheDesktopOpensIt) {
    test::ScriptedDialogs dialogs;
    const QString workbook = QStringLiteral("/home/user/.cache/Names 2026-12-07.xlsx");
    SpreadsheetApplication::libreOffice(QStringLiteral("/usr/bin/soffice")).open(dialogs, workbook);
    ASSERT_EQ(dialogs.programsStarted.size(), 1u);
    EXPECT_EQ(dialogs.programsStarted[0], QStringList({"/usr/bin/soffice", "-n", QDir::toNativeSeparators(workbook)}));
    EXPECT_TRUE(dialogs.documentsOpened.isEmpty());

    SpreadsheetApplication::desktopDefault().open(dialogs, workbook);
    EXPECT_EQ(dialogs.documentsOpened, QStringList{workbook});
    EXPECT_EQ(dialogs.programsStarted.size(), 1u);
}

// The real search: LibreOffice found on the program search path as the system gives it.
TEST(SpreadsheetApplication, IsFoundOnTheRealProgramSearchPath) {
    QTemporaryDir dir;
    const QString soffice = dir.filePath(QStringLiteral("soffice"));
    QFile script(soffice);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nexit 0\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(dir.path()) + ':' + path);
    const QString found = SpreadsheetApplication::find(SpreadsheetApplication::thisSystem()).program();
    qputenv("PATH", path);
    EXPECT_EQ(found, soffice);
}
