#include "core/cursorfile.h"
#include "tempworkspace.h"

#include <gtest/gtest.h>

using namespace quillory;

namespace {

QByteArray header(int type, int count, int hotX, int hotY) {
    QByteArray bytes(22, '\0');
    bytes[2] = char(type);
    bytes[4] = char(count);
    bytes[6] = 32;
    bytes[7] = 32;
    bytes[10] = char(hotX & 0xFF);
    bytes[11] = char(hotX >> 8);
    bytes[12] = char(hotY & 0xFF);
    bytes[13] = char(hotY >> 8);
    return bytes;
}

} // namespace

TEST(CursorHotSpot, IsReadFromTheFirstEntryOfACursorFile) {
    EXPECT_EQ(cursorHotSpot(header(2, 1, 6, 0)), QPoint(6, 0));
    EXPECT_EQ(cursorHotSpot(header(2, 1, 300, 258)), QPoint(300, 258));
    EXPECT_EQ(cursorHotSpot(test::shippedHandCursor()), QPoint(6, 0));
}

TEST(CursorHotSpot, IsAbsentForIconsEmptyDirectoriesAndShortFiles) {
    EXPECT_FALSE(cursorHotSpot(header(1, 1, 6, 0)).has_value());
    EXPECT_FALSE(cursorHotSpot(header(2, 0, 6, 0)).has_value());
    EXPECT_FALSE(cursorHotSpot(header(2, 1, 6, 0).left(21)).has_value());
    EXPECT_FALSE(cursorHotSpot(QByteArray("not a cursor at all, really")).has_value());
}
