#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace quillory {

class NameDatabase;

/**
 * The version of the built-in names this program carries: 2 since 327 surnames have their accents
 * (Lefèvre, Guérin, Rivière). A names.mdb records the version of its built-in names in its header
 * (SQLite's user version); one made before records none (0).
 */
inline constexpr int kNamesVersion = 2;

/** What both programs' --version say of the built-in names: their version and where they come from. */
QString builtInNamesLine();

/** The respellings of the built-in surnames: each form the lists had before version 2, and its spelling now. */
const QHash<QString, QString>& lastNameSpellings();

/** The version of the built-in names of an open database. Throws AppError. */
int namesVersionOf(NameDatabase& database);
/** Records the version of the built-in names in an open database. Throws AppError. */
void setNamesVersion(NameDatabase& database, int version);

/**
 * Brings the built-in surnames of a names.mdb made by an earlier version up to date, in one
 * transaction: each row of system_lastname whose name is exactly a form respelt since is respelt,
 * or removed when its new spelling is stored already (in any letter case), so that it is not
 * doubled. Every other row, the User List and the names deleted stay as they are. The database
 * then records kNamesVersion, and a later call does nothing. Returns whether it had anything to do.
 * Throws AppError, and then changes nothing.
 */
bool bringBuiltInNamesUpToDate(NameDatabase& database);

/**
 * The last names of Halvard's List in the order the list shows them, as an up-to-date copy holds
 * them: read as they are from a database that records this version, respelt as they are read from
 * one made before (which is left as it is). Throws AppError.
 */
QStringList builtInLastNames(NameDatabase& database);

} // namespace quillory
