#include "core/apperror.h"
#include "core/workbookoutput.h"
#include "filesizelimit.h"
#include "tempworkspace.h"
#include "workbookreader.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <optional>

using namespace quillory;

namespace {

const QDateTime kNow(QDate(2026, 12, 7), QTime(10, 0, 5));

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

std::pair<QString, QString> piecesOf(const QString& name) {
    const NamePieces pieces = splitAtSpaces(name);
    return {pieces.first.toString(), pieces.second.toString()};
}

class WorkbookOutput : public ::testing::Test {
protected:
    QString folder() const { return workspace.path(QStringLiteral("workbooks")); }
    QString newPath() const { return newWorkbookPath(folder(), kNow); }

    test::TempWorkspace workspace;
};

} // namespace

TEST(NamePieces, TheFirstPieceEndsAtTheFirstSpaceAndTheSecondAtTheNext) {
    using P = std::pair<QString, QString>;
    EXPECT_EQ(piecesOf(QStringLiteral("Anne Martin")), P(QStringLiteral("Anne"), QStringLiteral("Martin")));
    EXPECT_EQ(piecesOf(QStringLiteral(" Petit")), P(QString(), QStringLiteral("Petit")));
    EXPECT_EQ(piecesOf(QStringLiteral("Anne ")), P(QStringLiteral("Anne"), QString()));
    EXPECT_EQ(piecesOf(QStringLiteral("Anne")), P(QStringLiteral("Anne"), QString()));
    EXPECT_EQ(piecesOf(QStringLiteral("Jean Le Floch")), P(QStringLiteral("Jean"), QStringLiteral("Le")));
    EXPECT_EQ(piecesOf(QStringLiteral("Jean  Floch")), P(QStringLiteral("Jean"), QString()));
    // Further spaces change nothing of the two pieces: the second ends at the next space.
    EXPECT_EQ(piecesOf(QStringLiteral("Marie de la Tour")), P(QStringLiteral("Marie"), QStringLiteral("de")));
    EXPECT_EQ(piecesOf(QStringLiteral("Marie Dupont de la Tour ")),
              P(QStringLiteral("Marie"), QStringLiteral("Dupont")));
    EXPECT_EQ(piecesOf(QStringLiteral("Jean\tFloch")), P(QStringLiteral("Jean\tFloch"), QString()));
    EXPECT_EQ(piecesOf(QString()), P());
}

TEST(ColumnWidth, FollowsTheLettersOfTheDefaultFont) {
    EXPECT_EQ(columnWidthFor(QString()), 0.0);
    EXPECT_GT(columnWidthFor(u"Mawm"), columnWidthFor(u"Illi") + 2);
    EXPECT_GT(columnWidthFor(u"Anne-Sophie"), columnWidthFor(u"Anne"));
    // Accents do not widen a letter, written composed or with a combining mark.
    EXPECT_EQ(columnWidthFor(u"Élodie Côté"), columnWidthFor(u"Elodie Cote"));
    EXPECT_EQ(columnWidthFor(u"E\u0301lodie"), columnWidthFor(u"Elodie"));
    // A name of eight digits needs a little more than eight digits' width, never less.
    EXPECT_GE(columnWidthFor(u"01234567"), 8.0);
    EXPECT_LE(columnWidthFor(u"01234567"), 10.0);
    EXPECT_EQ(columnWidthFor(QString(1000, u'W')), 255.0);
}

TEST_F(WorkbookOutput, CellsHoldTheirTextExactlyAsText) {
    const QStringList texts = {
        QStringLiteral("0123"),           QStringLiteral("=1+1"),
        QStringLiteral("TRUE"),           QStringLiteral("1e5"),
        QStringLiteral("<&>\"'"),         QStringLiteral("Élodie Œuvray"),
        QStringLiteral("tab\there"),      QStringLiteral("_x0041_"),
        QStringLiteral("a\u0001b"),       QStringLiteral("\u200fعلي"),
        QStringLiteral("😀 emoji"),        QString(50, u'é'),
        QStringLiteral("a\uFFFEb\uFFFF"),
    };
    NamesWorkbook book(newPath());
    for (int i = 0; i < texts.size(); ++i)
        book.write(i, 0, texts[i]);
    book.fitColumns();
    book.finish();

    const test::WorkbookContent content = test::readWorkbook(book.path());
    ASSERT_EQ(content.error, QString());
    EXPECT_EQ(content.sheets, 1);
    ASSERT_EQ(content.cells.size(), std::size_t(texts.size()));
    for (int i = 0; i < texts.size(); ++i) {
        const test::WorkbookCell& cell = content.cells[std::size_t(i)];
        EXPECT_EQ(cell.row, i + 1);
        EXPECT_EQ(cell.column, 1);
        EXPECT_EQ(cell.type, QStringLiteral("s")) << texts[i].toStdString();
    }
    // The reader keeps the sheet's escapes as they are stored; spreadsheet applications decode them.
    QStringList expected = texts;
    expected[7] = QStringLiteral("_x005F_x0041_");
    expected[8] = QStringLiteral("a_x0001_b");
    // No character XML forbids reaches the sheet: openpyxl refuses a sheet that holds one.
    expected[12] = QStringLiteral("a_xFFFE_b_xFFFF_");
    EXPECT_EQ(content.column(1, int(texts.size())), expected);
}

TEST_F(WorkbookOutput, EmptyTextsLeaveCellsEmptyAndOnlyFilledColumnsAreFitted) {
    NamesWorkbook book(newPath());
    book.write(0, 0, u"Anne");
    book.write(0, 1, u"Martin");
    book.write(1, 0, u"");
    book.write(1, 1, u"Petit");
    book.write(2, 0, u"Maximilienne-Wilhelmine");
    book.write(2, 1, u"");
    book.fitColumns();
    book.finish();

    const test::WorkbookContent content = test::readWorkbook(book.path());
    ASSERT_EQ(content.error, QString());
    EXPECT_EQ(content.column(1, 3), QStringList({"Anne", "", "Maximilienne-Wilhelmine"}));
    EXPECT_EQ(content.column(2, 3), QStringList({"Martin", "Petit", ""}));
    EXPECT_EQ(content.cells.size(), 4u);
    ASSERT_EQ(content.widths.keys(), QStringList({"A", "B"}));
    // Each column is as wide as its widest text, give or take the writer's rounding to whole pixels.
    EXPECT_NEAR(content.widths["A"], columnWidthFor(u"Maximilienne-Wilhelmine"), 0.8);
    EXPECT_NEAR(content.widths["B"], columnWidthFor(u"Martin"), 0.8);

    NamesWorkbook empty(newPath());
    empty.fitColumns();
    empty.finish();
    const test::WorkbookContent nothing = test::readWorkbook(empty.path());
    ASSERT_EQ(nothing.error, QString());
    EXPECT_EQ(nothing.sheets, 1);
    EXPECT_TRUE(nothing.cells.empty());
    EXPECT_TRUE(nothing.widths.isEmpty());
}

TEST_F(WorkbookOutput, TheFileAppearsWholeAndReadOnlyOrNotAtAll) {
    const QString path = newPath();
    {
        NamesWorkbook dropped(path);
        dropped.write(0, 0, u"Anne");
    }
    EXPECT_EQ(filesIn(folder()), QStringList()) << "an unfinished workbook leaves nothing";

    NamesWorkbook book(path);
    book.write(0, 0, u"Anne");
    EXPECT_FALSE(QFileInfo::exists(path));
    book.finish();
    EXPECT_EQ(filesIn(folder()), QStringList{QFileInfo(path).fileName()});
    EXPECT_FALSE(QFileInfo(path).permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther));

    // A workbook that cannot be written in full is reported and leaves nothing, whoever runs the
    // test: once when the rows fit but the archive does not, once when the rows no longer fit.
    for (const bool limitRowsToo : {false, true}) {
        std::optional<test::FileSizeLimit> limit;
        NamesWorkbook big(newPath());
        if (limitRowsToo)
            limit.emplace(65536);
        for (int i = 0; i < 20'000; ++i)
            big.write(i, 0, QStringLiteral("Name %1").arg(i));
        if (!limitRowsToo)
            limit.emplace(8192);
        EXPECT_THROW(big.finish(), AppError);
    }
    EXPECT_EQ(filesIn(folder()), QStringList{QFileInfo(path).fileName()});
}

TEST_F(WorkbookOutput, CellsThatCannotBeWrittenAreRefused) {
    NamesWorkbook book(newPath());
    EXPECT_THROW(book.write(0, 2, u"Anne"), AppError);
    EXPECT_THROW(book.write(0, 0, QString(40'000, u'a')), AppError);
    EXPECT_THROW(book.write(1'048'576, 0, u"Anne"), AppError);
    book.write(1'048'575, 0, u"Anne");
    book.finish();
    EXPECT_THROW(book.write(0, 0, u"Anne"), AppError);
    EXPECT_THROW(book.finish(), AppError);
}

TEST_F(WorkbookOutput, NewPathsAreNamedByTimeAndNeverTakeAnExistingName) {
    const QString first = newPath();
    EXPECT_EQ(first, folder() + QStringLiteral("/Names 2026-12-07 10-00-05.xlsx"));
    EXPECT_TRUE(QFileInfo(folder()).isDir());
    QFile(first).open(QIODevice::WriteOnly);
    const QString second = newPath();
    EXPECT_EQ(second, folder() + QStringLiteral("/Names 2026-12-07 10-00-05 (2).xlsx"));
    QFile(second).open(QIODevice::WriteOnly);
    EXPECT_EQ(newPath(), folder() + QStringLiteral("/Names 2026-12-07 10-00-05 (3).xlsx"));

    // A folder that cannot be made: a file stands in its place.
    const QString blocked = workspace.writeFile(QStringLiteral("blocked"), "x");
    EXPECT_THROW(newWorkbookPath(blocked + QStringLiteral("/workbooks"), kNow), AppError);
}

TEST_F(WorkbookOutput, FilesOlderThanADayAreRemovedAtTheNextNewWorkbook) {
    QDir().mkpath(folder());
    const auto fileAged = [&](const char* name, qint64 secondsOld, bool readOnly) {
        const QString path = workspace.writeFile(QStringLiteral("workbooks/") + QString::fromUtf8(name), "x");
        QFile file(path);
        file.open(QIODevice::ReadWrite);
        file.setFileTime(kNow.addSecs(-secondsOld), QFileDevice::FileModificationTime);
        file.close();
        if (readOnly)
            QFile::setPermissions(path, QFile::ReadOwner);
    };
    fileAged("Names old.xlsx", 24 * 3600 + 60, true);
    fileAged("Names old.xlsx.part", 3 * 24 * 3600, false);
    fileAged("Names recent.xlsx", 24 * 3600 - 60, true);
    fileAged("Names now.xlsx", 0, false);

    newPath();
    EXPECT_EQ(filesIn(folder()), QStringList({"Names now.xlsx", "Names recent.xlsx"}));
}

TEST_F(WorkbookOutput, OnlyAWholeWorkbookPassesTheCheck) {
    NamesWorkbook book(newPath());
    for (int i = 0; i < 5'000; ++i)
        book.write(i, 0, QStringLiteral("Name %1").arg(i));
    book.finish();
    EXPECT_TRUE(isWholeWorkbook(book.path()));
    QFile whole(book.path());
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();

    const auto damaged = [&](const char* name, const QByteArray& content) {
        return isWholeWorkbook(workspace.writeFile(QString::fromUtf8(name), content));
    };
    EXPECT_FALSE(damaged("cut.xlsx", bytes.first(bytes.size() - 1)));
    EXPECT_FALSE(damaged("half.xlsx", bytes.first(bytes.size() / 2)));
    EXPECT_FALSE(damaged("text.xlsx", "PK\x05\x06 not an archive"));
    EXPECT_FALSE(damaged("empty.xlsx", QByteArray()));
    EXPECT_FALSE(isWholeWorkbook(workspace.path(QStringLiteral("missing.xlsx"))));

    // A whole archive around a sheet cut short, as the writer leaves it when its own temporary copy
    // of the sheet could not be written in full.
    const QString cutSheet = workspace.path(QStringLiteral("cutsheet.xlsx"));
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral(R"(
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as src, zipfile.ZipFile(sys.argv[2], "w", zipfile.ZIP_DEFLATED) as dst:
    for item in src.infolist():
        data = src.read(item.filename)
        dst.writestr(item.filename, data[:-40] if item.filename.endswith("sheet1.xml") else data)
)"),
                                                      book.path(), cutSheet});
    ASSERT_TRUE(python.waitForFinished(60'000) && python.exitCode() == 0)
        << python.readAllStandardError().toStdString();
    EXPECT_FALSE(isWholeWorkbook(cutSheet));
}
