#pragma once

#include <QString>

namespace quillory {

/**
 * The save folder text for a folder picked in the folder browser: the path followed by one
 * separator, or the path unchanged when it already ends in one (a root).
 */
QString saveFolderFor(const QString& pickedFolder);

} // namespace quillory
