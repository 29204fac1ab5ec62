#pragma once

#include <QString>

/**
 * Small stateless procedures shared by the windows. None shows anything; failures are thrown as
 * AppError for the guarded caller to report, except the two existence tests, which answer false.
 */
namespace quillory {

/** True when something exists at the path (a file, or a folder); never fails. */
bool FileIsPresent(const QString& path);

/** True when the path names an existing folder; false for a file, a missing path or an empty text. */
bool FolderIsPresent(const QString& path);

/**
 * Collapses doubled backslashes while keeping a network-path prefix: each pair of consecutive
 * backslashes becomes one, scanning left to right without overlap (three become two, four become
 * two). A path that starts with any number of backslashes comes back starting with exactly two.
 */
QString FixBackslashes(const QString& path);

/**
 * The same folding for paths joined with the platform's separator: FixBackslashes on Windows; on
 * POSIX each pair of consecutive slashes becomes one. POSIX has no network-path prefix, so a path's
 * leading slash stays single.
 */
QString FixPathSeparators(const QString& path);

/** Joins a folder and a name with the platform's separator, folded as FixPathSeparators does. */
QString joinPath(const QString& folder, const QString& name);

/** The text with every space character (code 32) removed; other white space stays. */
QString RemoveSpaces(const QString& text);

/**
 * Proper case: the first letter of each word upper case, every other letter lower case. Words are
 * separated by white space. Inside a word, the letter after a hyphen starts a new part (Jean-Pierre,
 * Saint-Exupéry), and so does the letter after an apostrophe that follows a single letter at the
 * start of a word or part (D'Almeida, L'Hostis, N'Diaye); after any other apostrophe the letter
 * stays small (Prud'homme, Le Floc'h).
 */
QString ProperCase(const QString& text);

/**
 * The application title made from a display name: cut at the last space, at least once, until it is
 * 40 characters or shorter. A name without a space to cut at is its own title.
 */
QString appTitleFor(const QString& displayName);

/** Sets the program-wide application title from the product's display name. */
void SetAppTitle();

/** The caption of every message and prompt box that names no title of its own. */
QString applicationTitle();

/**
 * The user's desktop folder (the XDG one where the user has named it) followed by the platform's
 * separator, or the home folder where that folder does not exist; throws when neither can be had.
 */
QString GetDesktopPath();

/** The user's cache folder for this program, without a trailing separator; throws when it cannot be had. */
QString GetCacheFolder();

} // namespace quillory
