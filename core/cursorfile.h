#pragma once

#include <QByteArray>
#include <QPoint>

#include <optional>

namespace quillory {

/**
 * The hot spot of the first image of a Windows cursor (.cur) file, read from its header: the file
 * starts with a directory (reserved 0, type 2, image count) whose entries keep the hot spot where an
 * icon keeps its planes and bit count. Nothing for a file that is not a cursor or is cut short.
 */
std::optional<QPoint> cursorHotSpot(const QByteArray& fileStart);

} // namespace quillory
