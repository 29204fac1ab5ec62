#pragma once

#include <QString>

#include <string_view>

namespace quillory {

/** The name under which every database connection knows the name order below. */
inline constexpr char kNameCollation[] = "french_nocase";

/**
 * Orders two names, given as UTF-8, the way a French reader expects, whatever the system locale:
 * letters are compared without their accents first (so É sits with E, and Œ reads as OE), and only
 * names equal at that level are ordered by their accents, unaccented first, then acute, grave,
 * circumflex, diaeresis, cedilla. Letter case never counts: JEAN, Jean and jean are equal, and so are
 * HÉLÈNE and hélène, while Helene and Hélène differ. A character that is no letter counts as its
 * code point, except the typographic apostrophes ’ and ʼ, which count as ' (and come after it among
 * names otherwise equal). So what names hold besides letters sorts first, in this order: the space,
 * the apostrophes, the hyphen; then digits, then letters ("Le Gall", "L'Hostis", "Le-Bris", "Legrand").
 * The few ASCII signs a name hardly holds keep their code point's place: ":;<=>?@" between digits
 * and letters, "{|}~" after the letters. Returns a negative number, zero or a positive number, like
 * strcmp.
 *
 * It is a total order (equal means equal under this rule), so the engine can sort, compare and remove
 * duplicates with it. Bytes that are not valid UTF-8 are compared as they are.
 */
int compareNames(std::string_view a, std::string_view b);

/** The same order for texts held as QString. */
int compareNames(const QString& a, const QString& b);

} // namespace quillory
