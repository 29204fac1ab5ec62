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

QString ListItems::lines(QStringView lineEnd) const {
    QString out;
    const qsizetype count = size();
    for (qsizetype i = 0; i < count; ++i) {
        out += text(i);
        out += lineEnd;
    }
    return out;
}

} // namespace quillory
