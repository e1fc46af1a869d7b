#include "imagesubs/SubPictureDuration.h"

#include <QList>
#include <functional>

#include "ImageSubScratch.h"
#include "VobSubFixture.h"
#include "imagesubs/SCImageSubImporter.h"

using namespace imagesubfixtures;

namespace {

double ticks(int delay) {
    return delay * 1024.0 / 90000.0;
}

using Offset = std::function<qint64(const VobSubFiles&)>;
Offset picture(int i) {
    return [i](const VobSubFiles& files) { return files.positions[i]; };
}
Offset at(qint64 offset) {
    return [offset](const VobSubFiles&) { return offset; };
}
const Offset kFileEnd = [](const VobSubFiles& files) { return qint64(files.sub.size()); };

QString packError(qint64 offset) {
    return "!!!! Packet identifier error at offset: " + QString::number(offset);
}
QString packetError(qint64 offset) {
    return "!!!! Sub packet identifier error at offset: " + QString::number(offset);
}

struct ReaderCase {
    const char* name;
    QList<VobSubPicture> pictures;
    VobSubOptions options;
    Offset from;
    Offset to;
    std::optional<double> duration;
    std::function<QStringList(const VobSubFiles&)> logs{};
    qint64 streamID = 0;
};

const QList<VobSubPicture> kTwo = {{"Hello", 1000, 200}, {"World", 4000, 300}};

class SubPictureDurationTest : public ImageSubScratch {};

TEST_F(SubPictureDurationTest, Table) {
    const QList<ReaderCase> cases = {
        {"one pack", kTwo, {}, picture(0), picture(1), ticks(200)},
        {"a delay of 0", {{"A", 0, 0}, {"B", 900, 9}}, {}, picture(0), picture(1), 0.0},
        {"several packs", kTwo, {.controlOffset = 5000}, picture(0), picture(1), ticks(200)},
        {"control area in the second pack",
         kTwo,
         {.controlOffset = 2500},
         picture(0),
         picture(1),
         ticks(200)},
        {"another stream's pack in between",
         kTwo,
         {.controlOffset = 2500, .foreignPackAfter = {0}},
         picture(0),
         picture(1),
         ticks(200)},
        {"pack stuffing",
         kTwo,
         {.stuffing = 5, .controlOffset = 2500},
         picture(0),
         picture(1),
         ticks(200)},
        {"a short window reads as 0xFF",
         kTwo,
         {.controlOffset = 2005},
         picture(0),
         [](const VobSubFiles& f) { return f.positions[0] + 2048; },
         ticks(0xFFFF)},
        {"the same unit read whole",
         kTwo,
         {.controlOffset = 2005},
         picture(0),
         picture(1),
         ticks(200)},
        {"a self-pointing sequence",
         kTwo,
         {.selfPointing = true},
         picture(0),
         picture(1),
         std::nullopt},
        {"a wrong stream", kTwo, {}, picture(0), picture(1), std::nullopt, {}, 1},
        {"a second unit start clears what the first collected",
         {{"Hello", 1000, 200, 0, {}, 2005}, {"World", 4000, 300}},
         {.dropContinuation = {0}},
         picture(0),
         kFileEnd,
         ticks(300)},
        {"startingAt at andEndingAt", kTwo, {}, picture(1), picture(1), ticks(300)},
        {"startingAt past andEndingAt", kTwo, {}, picture(1), picture(0), ticks(300)},
        {"a bad pack start code",
         kTwo,
         {.badPackCodeAt = {1}},
         picture(1),
         kFileEnd,
         std::nullopt,
         [](const VobSubFiles& f) { return QStringList{packError(f.positions[1])}; }},
        {"a bad packet start code",
         kTwo,
         {.stuffing = 2, .badPacketCodeAt = {0}},
         picture(0),
         picture(1),
         std::nullopt,
         [](const VobSubFiles& f) { return QStringList{packetError(f.positions[0] + 16)}; }},
        {"a filepos of -1",
         kTwo,
         {},
         at(-1),
         picture(1),
         std::nullopt,
         [](const VobSubFiles&) { return QStringList{packError(-1)}; }},
        {"an offset past the end",
         kTwo,
         {},
         kFileEnd,
         kFileEnd,
         std::nullopt,
         [](const VobSubFiles& f) { return QStringList{packError(f.sub.size())}; }},
        {"a truncated first pack",
         kTwo,
         {.truncateSubTo = 100},
         picture(0),
         kFileEnd,
         std::nullopt},
        {"a file ending before the unit's second pack",
         kTwo,
         {.controlOffset = 2500, .truncateSubTo = 2048},
         picture(0),
         at(1 << 20),
         std::nullopt,
         [](const VobSubFiles&) { return QStringList{packError(2048)}; }},
    };
    for (const ReaderCase& c : cases) {
        const VobSubFiles files = makeVobSub(c.pictures, c.options);
        logged.clear();
        const auto duration = subPictureDuration(files.sub, c.streamID, c.from(files), c.to(files));
        ASSERT_EQ(duration.has_value(), c.duration.has_value()) << c.name;
        if (duration) {
            EXPECT_DOUBLE_EQ(*duration, *c.duration) << c.name;
        }
        EXPECT_EQ(logged, c.logs ? c.logs(files) : QStringList()) << c.name;
    }
}

TEST_F(SubPictureDurationTest, ThroughTheImporter) {
    const VobSubFiles files = makeVobSub(kTwo, {.controlOffset = 2500});
    const QUrl sub = write("x.sub", files.sub);
    const auto importer = SCImageSubImporter::create();
    importer->setStreamID(0);
    EXPECT_DOUBLE_EQ(importer->readSubAtURL(sub, files.positions[0], files.positions[1]).value(),
                     ticks(200));
    importer->setStreamID(1);
    EXPECT_EQ(importer->readSubAtURL(sub, files.positions[0], files.positions[1]), std::nullopt);
    EXPECT_EQ(importer->readSubAtURL(QUrl::fromLocalFile(scratch.filePath("none.sub")), 0, 2048),
              std::nullopt);
    EXPECT_TRUE(logged.isEmpty());
}

}  // namespace
