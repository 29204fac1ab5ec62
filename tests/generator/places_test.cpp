// The places as the build ships them, and every way their files can be wrong: one line naming the
// file (and the line), never a half-read table.
#include "tempworkspace.h"

#include "core/apperror.h"
#include "generator/places.h"

#include <gtest/gtest.h>

namespace quillory::test {
namespace {

const QByteArray kDepartments =
    "code\tname\tregion\tphone_zone\n35\tIlle-et-Vilaine\t53\t02\n2A\tCorse-du-Sud\t94\t04\n";
const QByteArray kHeader = "code\tkind\tname\tcity\tdepartment\tregion\tpopulation\tcensus\tpostcodes\n";

TEST(Places, TheShippedTablesAndEveryBrokenFileSaySoInOneLine) {
    const std::shared_ptr<const Places> france =
        Places::read(QStringLiteral(QUILLORY_SOURCE_DIR "/data/communes.tsv"),
                     QStringLiteral(QUILLORY_SOURCE_DIR "/data/departements.tsv"));
    // Every commune with people, the three cities of arrondissements and the empty villages left out.
    EXPECT_EQ(france->communes().size(), 34920u - 3 - 6);
    EXPECT_GE(streetNames().size(), 300u);

    TempWorkspace workspace;
    const QString departments = workspace.writeFile(QStringLiteral("departements.tsv"), kDepartments);
    const struct {
        QByteArray communes; // none: no file at all
        QByteArray departments;
        const char* said;
    } cases[] = {
        {{}, kDepartments, "communes.tsv: No such file or directory"},
        {"", kDepartments, "communes.tsv: empty"},
        {"code\tname\n", kDepartments, "communes.tsv:1: not a table of places"},
        {kHeader + "35238\tcommune\tRennes\tRennes\t35\t53\tmany\t2023\t35000\n", kDepartments,
         "communes.tsv:2: the population is no whole number"},
        {kHeader + "35238\tcommune\tRennes\tRennes\t35\t53\t225081\t2023\t35000,3520\n", kDepartments,
         "communes.tsv:2: the postcodes are not five digits each"},
        {kHeader + "35238\tcommune\tRennes\tRennes\t44\t53\t225081\t2023\t35000\n", kDepartments,
         "communes.tsv:2: the département is not one of departements.tsv"},
        {kHeader + "35238\tcommune\tRennes\tRennes\t35\t53\t225081\n", kDepartments, "communes.tsv:2: not a commune"},
        {kHeader, kDepartments, "communes.tsv: no commune with people"},
        {kHeader + "35238\tcommune\tRennes\tRennes\t35\t53\t225081\t2023\t35000\n",
         "code\tname\tregion\tphone_zone\n35\tIlle-et-Vilaine\t53\t07\n",
         "departements.tsv:2: the telephone zone is none of 01 to 05"},
    };
    for (const auto& [communes, zones, said] : cases) {
        QFile::remove(workspace.path(QStringLiteral("communes.tsv")));
        const QString file = communes.isNull() ? workspace.path(QStringLiteral("communes.tsv"))
                                               : workspace.writeFile(QStringLiteral("communes.tsv"), communes);
        workspace.writeFile(QStringLiteral("departements.tsv"), zones);
        try {
            Places::read(file, departments);
            ADD_FAILURE() << "read: " << said;
        } catch (const AppError& error) {
            EXPECT_TRUE(error.message().contains(QString::fromUtf8(said))) << error.message().toStdString();
            EXPECT_FALSE(error.message().contains(u'\n'));
        }
    }
}

} // namespace
} // namespace quillory::test
