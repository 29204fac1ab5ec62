#include "listitems.h"

#include <QStringEncoder>

namespace quillory {

void ListItems::appendLines(QByteArray& out, QByteArrayView lineEnd) const {
    QStringEncoder encode(QStringConverter::System);
    const qsizetype count = size();
    for (qsizetype i = 0; i < count; ++i) {
        out += encode(text(i));
        out += lineEnd;
    }
}

} // namespace quillory
