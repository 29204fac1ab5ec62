#include "programicon.h"

#include "core/apperror.h"
#include "core/cursorfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QPixmap>

namespace quillory {

QIcon programIcon() {
    QIcon icon;
    for (int size : {32, 48, 128, 256})
        icon.addFile(QStringLiteral(":/icons/quillory-%1.png").arg(size), QSize(size, size));
    return icon;
}

QCursor loadCursorFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw AppError(file.errorString());
    const QImage image = QImage::fromData(bytes, "CUR");
    if (image.isNull())
        throw AppError(QCoreApplication::translate("quillory", "Invalid picture"));
    const QPoint hotSpot = cursorHotSpot(bytes).value_or(QPoint(-1, -1));
    return QCursor(QPixmap::fromImage(image), hotSpot.x(), hotSpot.y());
}

} // namespace quillory
