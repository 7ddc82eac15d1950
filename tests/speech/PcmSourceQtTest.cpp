// The queue the sound device reads the speech from: whatever the sizes appended and read, the
// bytes come out whole and in order, an empty queue reads nothing, and clearing drops what was
// not read.

#include "platform/qt/PcmSource.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace olv::test {
namespace {

TEST(PcmSourceQtTest, ReadsGiveTheBytesInOrderAcrossPieces) {
    PcmSource source;
    source.open(QIODevice::ReadOnly);
    EXPECT_TRUE(source.read(4).isEmpty());
    for (const char* piece : {"abc", "", "defgh", "i"})
        source.Append(piece, std::string(piece).size());
    EXPECT_EQ(source.bytesAvailable(), 9);
    std::string read;
    for (const int size : {2, 2, 2, 10}) // across the pieces' ends, then more than there is
        read += source.read(size).toStdString();
    EXPECT_EQ(read, "abcdefghi");
    EXPECT_EQ(source.Pending(), 0u);
    EXPECT_TRUE(source.read(4).isEmpty());

    source.Append("abcd", 4);
    EXPECT_EQ(source.read(1).toStdString(), "a");
    source.Clear();
    source.Append("xy", 2);
    EXPECT_EQ(source.read(4).toStdString(), "xy");
}

} // namespace
} // namespace olv::test
