#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

/** The texts made from a person's name: its letters without accents, its initials, an e-mail address. */
namespace quillory {

/** The domains an address is made on: those reserved for examples, which are nobody's (RFC 2606). */
inline constexpr const char* kExampleDomains[] = {"example.com", "example.net", "example.org"};

/**
 * The text with its accents folded away, letter case kept: é → e, Ç → C, œ → oe, Œdipe → Oedipe, ŒUVRE → OEUVRE, ß →
 * ss, and the few Latin letters that are no accented letter (ł → l, ø → o, đ → d, ı → i). What is still no ASCII
 * afterwards (another script, a symbol) is left out.
 */
QString asciiFolded(QStringView text);

/**
 * Initials as French usage writes them: each word's first letter and a full stop, the parts of a
 * compound word keeping their hyphen, the words apart: Jean-Pierre → "J.-P.", Le Gall → "L. G.".
 */
QString initialsOf(QStringView name);

/**
 * One name as a part of an address: folded to ASCII in lower case, its spaces and apostrophes
 * removed, its hyphens kept and anything else that an address may not hold dropped (empty text when
 * nothing is left).
 */
QByteArray addressPart(QStringView name);

/**
 * The local part of an address made of the name: each part folded to ASCII in lower case, its
 * spaces and apostrophes removed, its hyphens kept and anything else that an address may not hold
 * dropped; the parts joined by a full stop. "prenom" when nothing is left.
 */
QByteArray addressLocalPart(QStringView first, QStringView last);

} // namespace quillory
