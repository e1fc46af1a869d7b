#include <QList>
#include <functional>

#include "ImageSubScratch.h"
#include "VobSubFixture.h"
#include "imagesubs/SCImageSubImporter.h"
#include "imagesubs/VobSubIndex.h"

using namespace imagesubfixtures;

namespace {

double ticks(int delay) {
    return delay * 1024.0 / 90000.0;
}

void expectTimes(const std::optional<TimePairList>& actual, const TimePairList& expected,
                 const char* name) {
    ASSERT_TRUE(actual.has_value()) << name;
    ASSERT_EQ(actual->size(), expected.size()) << name;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(actual->at(i).start, expected[i].start, 1e-9) << name << " start " << i;
        EXPECT_NEAR(actual->at(i).end, expected[i].end, 1e-9) << name << " end " << i;
    }
}

const QList<VobSubPicture> kThree = {{"One", 1000, 200}, {"Two", 5000, 100}, {"Three", 9000, 300}};
// The last picture's stop date is read from the SUB as every other one's.
const TimePairList kThreeTimes = {{1, 1 + ticks(200)}, {5, 5 + ticks(100)}, {9, 9 + ticks(300)}};

struct IdxCase {
    const char* name;
    QList<VobSubPicture> pictures;
    VobSubOptions options;
    TimePairList times;
    qint64 streamID = 0;
    QStringList logged{};
    std::function<void(VobSubFiles&)> edit{};
    const char* idxName = "v.idx";
    const char* subName = "v.sub";
};

class VobSubLineTimes : public ImageSubScratch {};

TEST_F(VobSubLineTimes, Table) {
    const QList<IdxCase> cases = {
        {"plain", kThree, {}, kThreeTimes},
        {"CR LF line ends", kThree, {.crlf = true}, kThreeTimes},
        {"a Latin-1 comment", kThree, {.latin1Comment = true}, kThreeTimes},
        {"upper-case extension, SUB in lower case",
         kThree,
         {},
         kThreeTimes,
         0,
         {},
         {},
         "V.IDX",
         "V.sub"},
        {"a SUB whose extension is in another case, as the window pairs it",
         kThree,
         {},
         kThreeTimes,
         0,
         {},
         {},
         "W.IDX",
         "W.SUB"},
        {"delay lines add up within the block",
         {{"One", 1000, 200}, {"Two", 5000, 100, 0, 2000}, {"Three", 9000, 300, 0, -500}},
         {},
         {{1, 1 + ticks(200)}, {7, 7 + ticks(100)}, {10.5, 10.5 + ticks(300)}}},
        {"two streams: the first one's pictures",
         {{"One", 1000, 200, 0},
          {"Eins", 1500, 200, 1},
          {"Two", 5000, 100, 0},
          {"Zwei", 5500, 100, 1}},
         {},
         {{1, 1 + ticks(200)}, {5, 5 + ticks(100)}}},
        {"a first block without time lines", kThree, {.emptyStreamBlockFirst = true}, kThreeTimes},
        {"a second stream only",
         {{"Eins", 1500, 200, 1}, {"Zwei", 5500, 100, 1}},
         {},
         {{1.5, 1.5 + ticks(200)}, {5.5, 5.5 + ticks(100)}},
         1},
        {"a bad filepos",
         kThree,
         {.badFileposAt = {1}},
         {{1, 1 + ticks(200)}, {5, 8.99}, {9, 9 + ticks(300)}},
         0,
         {"!!!! Packet identifier error at offset: -1"}},
        {"an unreadable time line is skipped whole",
         kThree,
         {},
         kThreeTimes,
         0,
         {},
         [](VobSubFiles& files) {
             files.idx.replace("timestamp: 00:00:05",
                               "timestamp: 00:00:0x:000, filepos: 000000000\n"
                               "timestamp: 00:00:05");
         }},
        {"no SUB file",
         kThree,
         {},
         {{1, 4.99}, {5, 8.99}, {9, 9 + 4.217}},
         0,
         {},
         [](VobSubFiles& files) { files.sub.clear(); },
         "v.idx",
         nullptr},
        {"one time line without its SUB",
         {{"One", 1000, 200}},
         {},
         {{1, 1 + 4.217}},
         0,
         {},
         [](VobSubFiles& files) { files.sub.clear(); },
         "v.idx",
         nullptr},
        {"one time line with its SUB", {{"One", 1000, 200}}, {}, {{1, 1 + ticks(200)}}},
        {"the last picture without a stop date",
         kThree,
         {.withoutStopAt = {2}},
         {{1, 1 + ticks(200)}, {5, 5 + ticks(100)}, {9, 9 + 4.217}}},
        {"the last picture of two streams, a pack of the other between its packs",
         {{"One", 1000, 200, 0}, {"Eins", 1500, 200, 1}, {"Two", 5000, 100, 0}},
         {.foreignPackAfter = {2}},
         {{1, 1 + ticks(200)}, {5, 5 + ticks(100)}}},
        {"no time lines", {}, {}, {}, -1},
    };
    for (const IdxCase& c : cases) {
        VobSubFiles files = makeVobSub(c.pictures, c.options);
        if (c.edit) c.edit(files);
        const QUrl idx = write(c.idxName, files.idx);
        if (c.subName) write(c.subName, files.sub);
        logged.clear();
        const auto importer = SCImageSubImporter::create();
        expectTimes(importer->findStartEndTimesForSubURL(idx), c.times, c.name);
        EXPECT_EQ(importer->streamID(), c.streamID) << c.name;
        EXPECT_EQ(logged, c.logged) << c.name;
        QFile::remove(idx.toLocalFile());
        if (c.subName) QFile::remove(scratch.filePath(c.subName));
    }
}

TEST(VobSubIndex, Fields) {
    const VobSubIndex index = readVobSubIndex(
        "id: xx, index: 9\n"
        "delay: 00:00:05:000\n"
        "id: en, index: 3\n"
        "timestamp: 00:01:02:345, filepos: 000001800\n"
        "timestamp: 00:01:03:000, filepos: 0000ABCdef\n"
        "timestamp: 00:01:04:000, filepos: 0x1800\n"
        "timestamp: 00:01:05:000, filepos: 1800 \n"
        "timestamp: 00:01:06:000, filepos: -1800\n"
        "timestamp: 00:01:07:000, filepos: 100000000000000000000000000000\n"
        "timestamp: 00:01:08:000\n"
        "timestamp: 100000000000000000000000000000:00:00:000, filepos: 0\n"
        "timestamp: 00:01:09, filepos: 0\n"
        "timestamp: 00:01: 09:000, filepos: 0\n"
        "timestamp:00:01:09:000, filepos: 0\n"
        "id: de, index: 4\n"
        "timestamp: 00:00:01:000, filepos: 0\n");
    EXPECT_EQ(index.streamID, 3);
    const QList<qint64> positions = {0x1800, 0xABCDEF, -1, -1, -1, -1, -1};
    EXPECT_EQ(index.positions, positions);
    ASSERT_EQ(index.times.size(), positions.size());
    EXPECT_NEAR(index.times[0].start, 62.345, 1e-12);
    EXPECT_EQ(index.times[6].start, 68.0);
    for (const TimePair& pair : index.times) EXPECT_EQ(pair.end, 0);

    EXPECT_EQ(readVobSubIndex("timestamp: 00:00:01:000, filepos: 0\n").streamID, std::nullopt);
    EXPECT_EQ(readVobSubIndex("id: en, index: 1\nid: de, index: 2\n").times.size(), 0);
    EXPECT_EQ(readVobSubIndex("id: en, index: x\ntimestamp: 00:00:01:000, filepos: 0").streamID,
              std::nullopt);
    // A signed clock field is no time: the line goes, as any unreadable one.
    for (const char* line :
         {"timestamp: 00:-01:09:000, filepos: 0\n", "timestamp: +00:01:09:000, filepos: 0\n",
          "timestamp: 00:01:09:-500, filepos: 0\n"})
        EXPECT_TRUE(readVobSubIndex(line).times.isEmpty()) << line;
}

TEST(VobSubIndex, AnyAsciiBasedEncoding) {
    const QByteArray lines = "id: en, index: 2\ntimestamp: 00:00:01:500, filepos: 800\n";
    for (const QByteArray& text :
         {"\xEF\xBB\xBF" + lines, "# caf\xC3\xA9\n" + lines, "# caf\xE9\n" + lines}) {
        const VobSubIndex index = readVobSubIndex(text);
        EXPECT_EQ(index.streamID, 2);
        EXPECT_EQ(index.positions, QList<qint64>{0x800});
    }
    // UTF-16 holds no ASCII field.
    const QString wide = QString::fromLatin1(lines);
    EXPECT_TRUE(readVobSubIndex(
                    QByteArrayView(reinterpret_cast<const char*>(wide.utf16()), wide.size() * 2))
                    .times.isEmpty());
}

}  // namespace
