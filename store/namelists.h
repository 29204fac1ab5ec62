#pragma once

#include "core/apppaths.h"

#include <QString>
#include <QStringList>

namespace quillory {

class NameDatabase;
class NameListModel;

/** Where the shown names come from. */
enum class NameSource { None, HalvardsList, UserList };

/** Which first names of Halvard's List are shown. */
enum class GenderChoice { None, Both, MaleOnly, FemaleOnly };

/** The choice the two lists follow, as read from the options at the moment of a fill. */
struct ListChoice {
    NameSource source = NameSource::None;
    GenderChoice gender = GenderChoice::None;
};

/**
 * Fills the first-name and last-name lists from the database file as chosen, on a connection of its
 * own. User List: first names, then last names. Halvard's List: last names, then the first names of
 * the chosen gender. With no source (or, for the first names, no gender) a list is left as it is.
 *
 * Each list is emptied only once its query has opened, and receives every row in the order the
 * query gives, in proper case. A failure ends the fill there and is thrown: a list whose query could
 * not open keeps its items, one whose reading failed keeps the rows read so far.
 */
void fillNameLists(const NameDatabasePlace& database, const ListChoice& choice, NameListModel& firstNames,
                   NameListModel& lastNames);

/** The values of a query's column as stored, in the order the query gives. */
QStringList queryNames(NameDatabase& database, const char* statement, const char* column);

/** One list's part of a fill: the query's rows, in proper case, replace the list's items. */
void fillList(NameDatabase& database, const char* statement, const char* column, NameListModel& list);

} // namespace quillory
