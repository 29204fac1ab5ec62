#pragma once

#include <QString>

/** Fixed texts and addresses of the product, each defined once. */
namespace quillory::appinfo {

/** Shown in both window captions; also the source of the application title. */
inline const QString kDisplayName = QStringLiteral("Quillory");

/** The project's version, which both programs' --version print and the package carries. */
inline const QString kVersion = QStringLiteral(QUILLORY_VERSION);

/** Settings address: organisation (application name) and section. */
inline const QString kSettingsOrganisation = QStringLiteral("Obrenna");
inline const QString kSettingsSection = QStringLiteral("Quillory");

/** Project word and version date that open every error location tag. */
inline const QString kTagProject = QStringLiteral("Tarvisk");
inline const QString kTagVersionDate = QStringLiteral("2021/08/31");

/** Where the "Application Error" report asks the user to send a screenshot. */
inline const QString kSupportEmail = QStringLiteral("support@obrenna.fr");

/** The maker's home page, opened now and then at start-up. */
inline const QString kHomePage = QStringLiteral("https://www.obrenna.fr/quillory/");

/** The start-up roll (1 to 100) that opens the home page. */
inline constexpr int kHomePageRoll = 7;

/** Files beside the program. */
inline const QString kHandCursorFile = QStringLiteral("HAND-M.CUR");
inline const QString kSkinFile = QStringLiteral("x/o.cjs");
inline const QString kNameDatabaseFile = QStringLiteral("names.mdb");
/** Present in a program folder that a package or `make install` put there: its files are the system's. */
inline const QString kInstalledMarkerFile = QStringLiteral("INSTALLED");

} // namespace quillory::appinfo
