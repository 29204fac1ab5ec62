#include "core/apperror.h"
#include "core/listitems.h"
#include "core/savefolder.h"
#include "core/textoutput.h"
#include "filesizelimit.h"
#include "tempworkspace.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace quillory;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

TEST(TextOutput, AFolderWithOrWithoutTrailingSeparatorGivesOnePath) {
    EXPECT_EQ(resultsFilePath(QStringLiteral("/home/user/Data")), QStringLiteral("/home/user/Data/results.txt"));
    EXPECT_EQ(resultsFilePath(QStringLiteral("/home/user/Data/")), QStringLiteral("/home/user/Data/results.txt"));
    EXPECT_EQ(resultsFilePath(QStringLiteral("/")), QStringLiteral("/results.txt"));
}

TEST(TextOutput, EachNameEndsWithCarriageReturnAndLineFeedInUtf8) {
    const StringListItems names(
        {QStringLiteral("Anne Martin"), QStringLiteral(" Côté"), QStringLiteral(""), QStringLiteral("Zoé ")});
    EXPECT_EQ(resultsText(names), QByteArray("Anne Martin\r\n C\xc3\xb4t\xc3\xa9\r\n\r\nZo\xc3\xa9 \r\n"));
    EXPECT_EQ(resultsText(StringListItems({})), QByteArray());
}

TEST(TextOutput, ReplacesAnEarlierFileWholeAndLeavesNothingElseBehind) {
    test::TempWorkspace workspace;
    const QString path = workspace.writeFile(QStringLiteral("out/results.txt"), QByteArray(10'000, 'x'));
    replaceFile(path, "Anne\r\n");
    EXPECT_EQ(readAll(path), QByteArray("Anne\r\n"));
    replaceFile(path, "");
    EXPECT_EQ(readAll(path), QByteArray());
    EXPECT_EQ(QDir(workspace.path(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("results.txt")});
}

TEST(TextOutput, AFailedWriteKeepsTheEarlierFileIntactAndSaysWhy) {
    test::TempWorkspace workspace;
    const QString path = workspace.writeFile(QStringLiteral("out/results.txt"), "earlier\r\n");
    {
        const test::FileSizeLimit limit(4096);
        try {
            replaceFile(path, QByteArray(100'000, 'n'));
            FAIL() << "a write beyond the limit succeeded";
        } catch (const AppError& error) {
            EXPECT_FALSE(error.message().isEmpty());
        }
    }
    EXPECT_EQ(readAll(path), QByteArray("earlier\r\n"));
    EXPECT_EQ(QDir(workspace.path(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("results.txt")});
}

TEST(TextOutput, AFolderThatIsAFileCannotBeWritten) {
    test::TempWorkspace workspace;
    const QString file = workspace.writeFile(QStringLiteral("plain"), "x");
    EXPECT_THROW(replaceFile(resultsFilePath(file), "Anne\r\n"), AppError);
    EXPECT_EQ(readAll(file), QByteArray("x"));
}

// The path stands in the message exactly as it is, whatever it holds, between its two empty lines.
TEST(TextOutput, TheDoneMessageKeepsThePathAsItIs) {
    for (const QString& path : {QStringLiteral("/d/results.txt"), QStringLiteral("/tmp/50% d'été/%1 %2/results.txt"),
                                QStringLiteral("C:\\Data\\results.txt")}) {
        const QString message = doneMessage(path);
        EXPECT_EQ(message.section(QStringLiteral("\r\r"), 1).section(QStringLiteral("\r\n\r\n"), 0, 0), path);
        EXPECT_EQ(message.count(path), 1);
    }
}

TEST(SaveFolder, APickedFolderGetsOneTrailingSeparator) {
    EXPECT_EQ(saveFolderFor(QStringLiteral("/home/user/Data")), QStringLiteral("/home/user/Data/"));
    EXPECT_EQ(saveFolderFor(QStringLiteral("/")), QStringLiteral("/"));
}
