#include "common/ByteReaders.h"

#include <gtest/gtest.h>

#include <limits>

namespace {
QByteArray bytes(std::initializer_list<int> values) {
    QByteArray b;
    for (int v : values) b.append(static_cast<char>(v));
    return b;
}
}  // namespace

TEST(ByteReaders, HexTexts) {
    EXPECT_EQ(hexEncodedString(bytes({0, 10, 255})), "000aff");
    EXPECT_EQ(hexEncodedString({}), "");
    const QByteArray pack = bytes({0, 0, 1, 186, 7});
    EXPECT_EQ(hexAtOffset(pack, 0, 4), "000001ba");
    EXPECT_FALSE(hexAtOffset(bytes({0, 0, 1}), 0, 4).has_value());
    EXPECT_FALSE(hexAtOffset(pack, -1, 1).has_value());
    EXPECT_FALSE(hexAtOffset(pack, 2, 4).has_value());
    EXPECT_EQ(hexAtOffset(pack, pack.size(), 0), "");
}

TEST(ByteReaders, IntegersInEitherByteOrder) {
    const QByteArray two = bytes({1, 2});
    EXPECT_EQ(intAtOffset(two, 0, 2, "big"), 258);
    EXPECT_EQ(intAtOffset(two, 0, 2, "BIG"), 258);
    EXPECT_EQ(intAtOffset(two, 0, 2, "Little"), 513);
    EXPECT_EQ(intAtOffset(two, 0, 2, "middle"), -1);
    EXPECT_EQ(intAtOffset(two, 0, 2, ""), -1);
    EXPECT_EQ(intAtOffset(bytes({255, 255, 255, 255}), 0, 4, "big"), 4294967295LL);
    EXPECT_EQ(intAtOffset(bytes({1, 2, 3, 4}), 0, 4, "little"), 0x04030201);
    EXPECT_EQ(intAtOffset(bytes({200}), 0, 1, ""), 200);
    EXPECT_EQ(intAtOffset(bytes({1, 2, 3, 4, 5, 6, 7, 8}), 0, 3, "big"), -1);
    EXPECT_EQ(intAtOffset(bytes({1, 2, 3, 4, 5, 6, 7, 8}), 0, 8, "big"), -1);
    // Never reads past the end of the buffer, whatever the numbers read from a file.
    const qint64 huge = std::numeric_limits<qint64>::max();
    EXPECT_EQ(intAtOffset(two, 1, 2, "big"), -1);
    EXPECT_EQ(intAtOffset(two, 5, 1, "big"), -1);
    EXPECT_EQ(intAtOffset(two, 1, huge, "big"), -1);
    EXPECT_EQ(intAtOffset(two, huge, 2, "big"), -1);
    EXPECT_FALSE(hexAtOffset(two, huge, 1).has_value());
    EXPECT_FALSE(hexAtOffset(two, 1, huge).has_value());
}
