#pragma once

#include <QByteArray>
#include <QString>

/** The fields of a name as the record formats write them, the same in every program. */
namespace quillory {

/** A field of a CSV record (RFC 4180): quoted, with quotes doubled, when it holds a comma, a quote, CR or LF. */
QByteArray csvField(const QString& text);

/** A JSON string literal, UTF-8, with quotes, backslashes and control characters escaped. */
QByteArray jsonString(const QString& text);

/** The same for a text given as its UTF-8 bytes. */
QByteArray csvField(QByteArrayView utf8);
QByteArray jsonString(QByteArrayView utf8);

} // namespace quillory
