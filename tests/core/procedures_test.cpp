#include "core/apperror.h"
#include "core/procedures.h"
#include "tempworkspace.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace quillory;

namespace {

QString qs(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

TEST(FixBackslashes, CollapsesPairsLeftToRightWithoutOverlap) {
    EXPECT_EQ(FixBackslashes(qs(R"(C:\\Data\\\\Names)")), qs(R"(C:\Data\\Names)"));
    EXPECT_EQ(FixBackslashes(qs(R"(C:\a\\\b)")), qs(R"(C:\a\\b)")); // three become two
    EXPECT_EQ(FixBackslashes(qs(R"(C:\Data\\results.txt)")), qs(R"(C:\Data\results.txt)"));
    EXPECT_EQ(FixBackslashes(qs(R"(C:\Data\results.txt)")), qs(R"(C:\Data\results.txt)"));
}

TEST(FixBackslashes, LeadingBackslashesBecomeExactlyTwo) {
    EXPECT_EQ(FixBackslashes(qs(R"(\\\\server\\share)")), qs(R"(\\server\share)"));
    EXPECT_EQ(FixBackslashes(qs(R"(\folder)")), qs(R"(\\folder)"));
    EXPECT_EQ(FixBackslashes(qs(R"(\\server\share\\x)")), qs(R"(\\server\share\x)"));
    EXPECT_EQ(FixBackslashes(qs(R"(\\\)")), qs(R"(\\)"));
}

TEST(FixBackslashes, EmptyPathStaysEmpty) {
    EXPECT_EQ(FixBackslashes(QString()), QString());
}

TEST(FixPathSeparators, JoiningAFolderWithOrWithoutTrailingSeparatorGivesOnePath) {
    const QString sep = QDir::separator();
    const QString folder = sep + qs("tmp") + sep + qs("out");
    EXPECT_EQ(joinPath(folder, qs("results.txt")), folder + sep + qs("results.txt"));
    EXPECT_EQ(joinPath(folder + sep, qs("results.txt")), folder + sep + qs("results.txt"));
#ifndef Q_OS_WIN
    // No network-path prefix on POSIX: an absolute path keeps its single leading slash.
    EXPECT_EQ(FixPathSeparators(qs("/home/user//x")), qs("/home/user/x"));
    EXPECT_EQ(FixPathSeparators(qs("//x")), qs("/x"));
    EXPECT_EQ(joinPath(qs("/"), qs("results.txt")), qs("/results.txt"));
#endif
}

TEST(RemoveSpaces, RemovesOnlyTheSpaceCharacter) {
    EXPECT_EQ(RemoveSpaces(qs(" de la Tour ")), qs("delaTour"));
    EXPECT_EQ(RemoveSpaces(qs("a\tb\u00A0c")), qs("a\tb\u00A0c"));
    EXPECT_EQ(RemoveSpaces(qs("   ")), QString());
}

TEST(ProperCase, RaisesTheFirstLetterOfEachWordAndLowersTheRest) {
    EXPECT_EQ(ProperCase(qs("MARIE")), qs("Marie"));
    EXPECT_EQ(ProperCase(qs("marie")), qs("Marie"));
    EXPECT_EQ(ProperCase(qs("de la tour")), qs("De La Tour"));
    EXPECT_EQ(ProperCase(qs("  anne marie  ")), qs("  Anne Marie  "));
    EXPECT_EQ(ProperCase(qs("jean\tPAUL")), qs("Jean\tPaul"));
    EXPECT_EQ(ProperCase(QString()), QString());
}

TEST(ProperCase, HandlesAccentedLetters) {
    EXPECT_EQ(ProperCase(qs("élodie")), qs("Élodie"));
    EXPECT_EQ(ProperCase(qs("ÉMILE")), qs("Émile"));
    EXPECT_EQ(ProperCase(qs("ÇA")), qs("Ça"));
    EXPECT_EQ(ProperCase(qs("JOËL LŒUVRE")), qs("Joël Lœuvre"));
}

TEST(ProperCase, CapitalisesEachPartOfACompoundName) {
    EXPECT_EQ(ProperCase(qs("jean-pierre")), qs("Jean-Pierre"));
    EXPECT_EQ(ProperCase(qs("MARIE-CLAIRE")), qs("Marie-Claire"));
    EXPECT_EQ(ProperCase(qs("saint-exupéry")), qs("Saint-Exupéry"));
}

TEST(ProperCase, CapitalisesAfterAOneLetterElisionOnly) {
    EXPECT_EQ(ProperCase(qs("d'almeida")), qs("D'Almeida"));
    EXPECT_EQ(ProperCase(qs("L'HOSTIS")), qs("L'Hostis"));
    EXPECT_EQ(ProperCase(qs("n'diaye")), qs("N'Diaye"));
    EXPECT_EQ(ProperCase(qs("m\u2019hamed")), qs("M\u2019Hamed"));
    EXPECT_EQ(ProperCase(qs("PRUD'HOMME")), qs("Prud'homme"));
    EXPECT_EQ(ProperCase(qs("le floc'h")), qs("Le Floc'h"));
    EXPECT_EQ(ProperCase(qs("jean-d'arc")), qs("Jean-D'Arc"));
}

TEST(ProperCase, KeepsTheLengthAndCharactersOutsideTheBasicPlane) {
    // ß has no single-letter capital: the case change must not grow the text.
    EXPECT_EQ(ProperCase(qs("ßa")).size(), 2);
    EXPECT_EQ(ProperCase(qs("\U0001D49C\U0001D49C")), qs("\U0001D49C\U0001D49C"));
    EXPECT_EQ(ProperCase(qs("\U00010428bc")), qs("\U00010400bc")); // Deseret small letter to capital
}

TEST(NameCleaning, SpacesGoBeforeProperCase) {
    EXPECT_EQ(ProperCase(RemoveSpaces(qs("de la Tour"))), qs("Delatour"));
    EXPECT_EQ(ProperCase(RemoveSpaces(qs("jean-pierre"))), qs("Jean-Pierre"));
}

TEST(ExistenceTests, TellFilesFoldersAndMissingPathsApart) {
    test::TempWorkspace ws;
    const QString file = ws.writeFile(qs("a.txt"), "x");
    const QString folder = ws.programFolder();
    const QString missing = ws.path(qs("missing"));

    EXPECT_TRUE(FileIsPresent(file));
    EXPECT_TRUE(FileIsPresent(folder));
    EXPECT_FALSE(FileIsPresent(missing));
    EXPECT_FALSE(FileIsPresent(QString()));

    EXPECT_TRUE(FolderIsPresent(folder));
    EXPECT_TRUE(FolderIsPresent(folder + QDir::separator()));
    EXPECT_FALSE(FolderIsPresent(file));
    EXPECT_FALSE(FolderIsPresent(missing));
    EXPECT_FALSE(FolderIsPresent(QString()));
}

TEST(AppTitle, CutsAtTheLastSpaceAtLeastOnceUntilShortEnough) {
    EXPECT_EQ(appTitleFor(qs("Quillory")), qs("Quillory"));
    // Five words, 37 characters: the last word goes although the name is short enough.
    const QString fiveWords = qs("Random French Names Generator Deluxe!");
    ASSERT_EQ(fiveWords.size(), 37);
    EXPECT_EQ(appTitleFor(fiveWords), qs("Random French Names Generator"));
    const QString tooLong = qs("A very long display name that goes on and on past forty");
    const QString title = appTitleFor(tooLong);
    EXPECT_LE(title.size(), 40);
    EXPECT_TRUE(tooLong.startsWith(title + u' '));
    EXPECT_EQ(appTitleFor(qs("ThisNameHasNoSpaceAndIsLongerThanFortyCharacters")),
              qs("ThisNameHasNoSpaceAndIsLongerThanFortyCharacters"));
}

TEST(AppTitle, TheProgramsTitleIsQuillory) {
    SetAppTitle();
    EXPECT_EQ(applicationTitle(), qs("Quillory"));
}

// The desktop folder where it exists, else the home folder, always with one separator after it. (Qt
// reads the user's XDG folder names only outside its test mode.)
TEST(GetDesktopPath, IsTheDesktopFolderThatExistsElseTheHomeFolder) {
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    for (const bool withDesktop : {false, true}) {
        test::TempWorkspace ws;
        const QString home = ws.path(QStringLiteral("home"));
        QDir().mkpath(withDesktop ? home + QStringLiteral("/Desktop") : home);
        qputenv("HOME", home.toUtf8());
        qunsetenv("XDG_CONFIG_HOME");
        const QString path = GetDesktopPath();
        EXPECT_EQ(path,
                  QDir::toNativeSeparators(home + (withDesktop ? QStringLiteral("/Desktop/") : QStringLiteral("/"))));
        EXPECT_FALSE(path.endsWith(QString(QDir::separator()) + QDir::separator()));
    }
    qputenv("HOME", oldHome);
    if (oldConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", oldConfig);
}
