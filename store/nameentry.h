#pragma once

#include "namelists.h"

#include <QString>

#include <optional>

/** Where a name the user adds goes, and what of the typed text is kept. */
namespace quillory {

/** Which list a name is added to: the numbers are the list kinds the import passes on. */
enum class NameKind { First = 1, Last = 2 };

/**
 * The name to store for a typed entry: every apostrophe removed, then the text as typed (its spaces
 * and letter case kept) cut to kMaxNameLength characters. Nothing when only spaces remain.
 */
std::optional<QString> nameFromEntry(const QString& typed);

/**
 * The insert for a name of this kind into the chosen source, or nullptr when no source is chosen.
 * A first name added to Halvard's List joins the female first names.
 */
const char* insertStatementFor(NameSource source, NameKind kind);

} // namespace quillory
