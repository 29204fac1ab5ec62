#include "namelists.h"

#include "core/namelistmodel.h"
#include "core/procedures.h"
#include "namedatabase.h"
#include "namestatements.h"

namespace quillory {

void fillList(NameDatabase& database, const char* statement, const char* column, NameListModel& list) {
    NameQuery query(database, statement, column);
    // The rows are gathered and handed over at once: nothing runs between the emptying of the list
    // and the last append, so the list cannot be seen half filled, and one reset is far cheaper
    // than a row-by-row insertion.
    QStringList items;
    try {
        for (; !query.atEnd(); query.moveNext())
            items.append(ProperCase(query.value()));
    } catch (...) {
        list.setItems(std::move(items));
        throw;
    }
    list.setItems(std::move(items));
}

QStringList queryNames(NameDatabase& database, const char* statement, const char* column) {
    QStringList names;
    for (NameQuery query(database, statement, column); !query.atEnd(); query.moveNext())
        names.append(query.value());
    return names;
}

void fillNameLists(const NameDatabasePlace& place, const ListChoice& choice, NameListModel& firstNames,
                   NameListModel& lastNames) {
    NameDatabase database(place);
    database.open();
    if (choice.source == NameSource::UserList) {
        fillList(database, statements::kUserFirstNames, "firstname", firstNames);
        fillList(database, statements::kUserLastNames, "lastname", lastNames);
    } else if (choice.source == NameSource::HalvardsList) {
        fillList(database, statements::kSystemLastNames, "Last", lastNames);
        switch (choice.gender) {
        case GenderChoice::Both:
            fillList(database, statements::kBothFirstNames, "firstname", firstNames);
            break;
        case GenderChoice::MaleOnly:
            fillList(database, statements::kMaleFirstNames, "mfirst", firstNames);
            break;
        case GenderChoice::FemaleOnly:
            fillList(database, statements::kFemaleFirstNames, "ffirst", firstNames);
            break;
        case GenderChoice::None:
            break;
        }
    }
    database.close();
}

} // namespace quillory
