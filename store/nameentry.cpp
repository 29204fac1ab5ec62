#include "nameentry.h"

#include "namedatabase.h"
#include "namestatements.h"

namespace quillory {

std::optional<QString> nameFromEntry(const QString& typed) {
    QString name = typed;
    name.remove(QChar(u'\''));
    if (name.count(QChar(u' ')) == name.size())
        return std::nullopt;
    return truncatedName(name);
}

const char* insertStatementFor(NameSource source, NameKind kind) {
    switch (source) {
    case NameSource::HalvardsList:
        return kind == NameKind::First ? statements::kInsertSystemFirstName : statements::kInsertSystemLastName;
    case NameSource::UserList:
        return kind == NameKind::First ? statements::kInsertUserFirstName : statements::kInsertUserLastName;
    case NameSource::None:
        break;
    }
    return nullptr;
}

} // namespace quillory
