#include "savefolder.h"

#include <QDir>

namespace quillory {

QString saveFolderFor(const QString& pickedFolder) {
    const QString native = QDir::toNativeSeparators(pickedFolder);
    return native.endsWith(QDir::separator()) ? native : native + QDir::separator();
}

} // namespace quillory
