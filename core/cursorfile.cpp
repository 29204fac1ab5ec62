#include "cursorfile.h"

namespace quillory {

namespace {

int readWord(const QByteArray& bytes, int offset) {
    return static_cast<unsigned char>(bytes[offset]) | (static_cast<unsigned char>(bytes[offset + 1]) << 8);
}

} // namespace

std::optional<QPoint> cursorHotSpot(const QByteArray& fileStart) {
    constexpr int kDirectorySize = 6;
    constexpr int kEntrySize = 16;
    if (fileStart.size() < kDirectorySize + kEntrySize)
        return std::nullopt;
    const int reserved = readWord(fileStart, 0);
    const int type = readWord(fileStart, 2);
    const int count = readWord(fileStart, 4);
    if (reserved != 0 || type != 2 || count < 1)
        return std::nullopt;
    return QPoint(readWord(fileStart, kDirectorySize + 4), readWord(fileStart, kDirectorySize + 6));
}

} // namespace quillory
