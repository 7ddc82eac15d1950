// The queue the sound device reads the speech from: whatever the sizes appended and read, the
// bytes come out whole and in order, and clearing drops what was not read.

#include "platform/qt/PcmSource.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace olv::test {
namespace {

TEST(PcmSourceQtTest, ReadsGiveTheBytesInOrderAcrossPieces) {
    struct Case {
        std::vector<std::string> pieces;
        std::vector<int> reads;
    };
    const Case cases[] = {
        {{"abc", "defgh", "i"}, {9}},          // all at once
        {{"abc", "defgh", "i"}, {2, 2, 2, 3}}, // across the pieces' ends
        {{"abcdef"}, {1, 1, 10}},              // more wanted than there is
        {{"", "ab", ""}, {5}},                 // empty pieces are nothing
    };
    for (const Case& c : cases) {
        PcmSource source;
        source.open(QIODevice::ReadOnly);
        std::string all;
        for (const std::string& piece : c.pieces) {
            source.Append(piece.data(), piece.size());
            all += piece;
        }
        EXPECT_EQ(source.bytesAvailable(), qint64(all.size()));
        std::string read;
        for (int size : c.reads)
            read += source.read(size).toStdString();
        EXPECT_EQ(read, all);
        EXPECT_EQ(source.Pending(), 0u);
        EXPECT_TRUE(source.read(4).isEmpty());
    }

    PcmSource source;
    source.open(QIODevice::ReadOnly);
    source.Append("abcd", 4);
    EXPECT_EQ(source.read(1).toStdString(), "a");
    source.Clear();
    source.Append("xy", 2);
    EXPECT_EQ(source.read(4).toStdString(), "xy");
}

} // namespace
} // namespace olv::test
