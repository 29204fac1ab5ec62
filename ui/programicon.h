#pragma once

#include <QCursor>
#include <QIcon>

namespace quillory {

/** The program icon shown by both windows: our quill drawing at 32, 48, 128 and 256 pixels. */
QIcon programIcon();

/**
 * Loads a Windows cursor file (such as HAND-M.CUR) as a pointer, with the hot spot its header names.
 * Throws AppError when the file cannot be read or holds no picture.
 */
QCursor loadCursorFile(const QString& path);

} // namespace quillory
