#include "namerecords.h"

namespace quillory {

QByteArray csvField(const QString& text) {
    return csvField(QByteArrayView(text.toUtf8()));
}

QByteArray csvField(QByteArrayView utf8) {
    QByteArray bytes = utf8.toByteArray();
    if (bytes.contains(',') || bytes.contains('"') || bytes.contains('\r') || bytes.contains('\n'))
        bytes = '"' + bytes.replace('"', "\"\"") + '"';
    return bytes;
}

QByteArray jsonString(const QString& text) {
    return jsonString(QByteArrayView(text.toUtf8()));
}

QByteArray jsonString(QByteArrayView utf8) {
    QByteArray out;
    out.reserve(utf8.size() + 2);
    out.append('"');
    for (const char c : utf8) {
        switch (c) {
        case '"':
            out.append("\\\"");
            break;
        case '\\':
            out.append("\\\\");
            break;
        case '\n':
            out.append("\\n");
            break;
        case '\r':
            out.append("\\r");
            break;
        case '\t':
            out.append("\\t");
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                out.append(QByteArray("\\u00") +
                           QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(2, '0'));
            else
                out.append(c);
        }
    }
    out.append('"');
    return out;
}

} // namespace quillory
