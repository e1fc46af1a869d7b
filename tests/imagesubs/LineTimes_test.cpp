#include "imagesubs/LineTimes.h"

#include <QList>

#include "ImageSubScratch.h"
#include "PgsFixture.h"
#include "imagesubs/PgsLineTimes.h"
#include "imagesubs/SCImageSubImporter.h"

using namespace imagesubfixtures;

namespace {

// --- End-time repair ------------------------------------------------------------

struct RepairCase {
    const char* name;
    TimePairList given;
    TimePairList repaired;
};

// Next starts that lie exactly 4.217 s on, as the files give them.
const double kExactNext = 1.3 + 4.217;

TEST(EndTimeRepair, Table) {
    const QList<RepairCase> cases = {
        {"usable ends stay, however long", {{1, 3}, {5, 60}}, {{1, 3}, {5, 60}}},
        {"last without end", {{7, 0}}, {{7, 7 + 4.217}}},
        {"last shorter than 0.2 s", {{7, 7.1}}, {{7, 7 + 4.217}}},
        {"last exactly 0.2 s long stays", {{1, 1.25}}, {{1, 1.25}}},
        {"last ending before its start", {{7, 6}}, {{7, 7 + 4.217}}},
        {"far next start gives the default", {{1, 0}, {10, 12}}, {{1, 1 + 4.217}, {10, 12}}},
        {"near next start gives 0.01 s before it", {{1, 0}, {3, 4}}, {{1, 2.99}, {3, 4}}},
        {"end equal to the next start", {{1, 3}, {3, 4}}, {{1, 2.99}, {3, 4}}},
        {"end past the next start", {{1, 9}, {3, 4}}, {{1, 2.99}, {3, 4}}},
        {"negative end", {{1, -2}, {3, 4}}, {{1, 2.99}, {3, 4}}},
        {"next start exactly 4.217 s on",
         {{1.3, 0}, {kExactNext, 9}},
         {{1.3, 1.3 + 4.217}, {kExactNext, 9}}},
        {"next start under 0.01 s on: end before start, no reordering",
         {{5, 0}, {5.005, 6}},
         {{5, 5.005 - 0.01}, {5.005, 6}}},
        {"next start earlier", {{5, 0}, {2, 3}}, {{5, 1.99}, {2, 3}}},
        {"empty", {}, {}},
    };
    for (const RepairCase& c : cases) {
        TimePairList times = c.given;
        repairEndTimes(times);
        EXPECT_EQ(times, c.repaired) << c.name;
    }
}

// --- PGS display sets --------------------------------------------------------------

struct PgsCase {
    const char* name;
    QList<PgsPicture> pictures;
    PgsOptions options;
    TimePairList times;
};

TEST(PgsLineTimes, Table) {
    const QList<PgsCase> cases = {
        {"shown then cleared", {{"A", 10.0, 12.5}}, {}, {{10.0, 12.5}}},
        {"a shown set replaces the one before",
         {{"A", 10.0, {}}, {"B", 12.0, 14.0}},
         {},
         {{10.0, 12.0 - 0.1}, {12.0, 14.0}}},
        {"a replaced picture shorter than 0.2 s",
         {{"A", 10.0, {}}, {"B", 10.2, 11.0}},
         {},
         {{10.0, 10.2 - 0.01}, {10.2, 11.0}}},
        {"shown at the end without a clear set", {{"A", 3.0, {}}}, {}, {{3.0, 3.0 + 4.217}}},
        {"leading blank set", {{"A", 2.0, 5.0}}, {.leadingBlankSet = true}, {{2.0, 5.0}}},
        {"a set without END is not recorded",
         {{"A", 1.0, 3.0}, {"B", 5.0, 7.0}},
         {.withoutEndAt = 1},
         // B's object counts for B's clear set, which so opens a picture.
         {{1.0, 3.0}, {7.0, 7.0 + 4.217}}},
        {"the last segment's payload runs past the end",
         {{"A", 1.0, {}}},
         {.clearPastEndAt = 2.5},
         {{1.0, 2.5}}},
        {"a short tail is not read", {{"A", 1.0, 2.0}}, {.shortTail = 12}, {{1.0, 2.0}}},
        {"nothing", {}, {}, {}},
        {"only a blank set", {}, {.leadingBlankSet = true}, {}},
    };
    for (const PgsCase& c : cases)
        EXPECT_EQ(pgsLineTimes(makePgs(c.pictures, c.options)), c.times) << c.name;
}

QByteArray segment(quint8 type, quint32 pts, int size) {
    QByteArray bytes("PG");
    for (int shift : {24, 16, 8, 0}) bytes.append(char((pts >> shift) & 0xFF));
    bytes.append(QByteArray(4, '\0'));
    bytes.append(char(type));
    bytes.append(char(size >> 8));
    bytes.append(char(size & 0xFF));
    bytes.append(QByteArray(size, '\0'));
    return bytes;
}

TEST(PgsLineTimes, HandMadeSegments) {
    // An object with no composition before it is shown at 0.
    EXPECT_EQ(pgsLineTimes(segment(0x15, 0, 3) + segment(0x80, 0, 0)), TimePairList({{0, 4.217}}));
    // It takes the time of the last composition, also one of an earlier set.
    EXPECT_EQ(pgsLineTimes(segment(0x16, 450000, 0) + segment(0x80, 0, 0) + segment(0x15, 0, 0) +
                           segment(0x80, 0, 0) + segment(0x16, 900000, 0) + segment(0x80, 0, 0)),
              TimePairList({{5, 10}}));
    // Unknown segment types and their payloads are stepped over.
    EXPECT_EQ(pgsLineTimes(segment(0x16, 90000, 0) + segment(0x42, 0, 300) + segment(0x15, 0, 9) +
                           segment(0x80, 0, 0) + segment(0x16, 180000, 0) + segment(0x80, 0, 0)),
              TimePairList({{1, 2}}));
    // A header cut short at the end is not read: it would close the picture.
    EXPECT_EQ(pgsLineTimes(segment(0x16, 90000, 0) + segment(0x15, 0, 0) + segment(0x80, 0, 0) +
                           segment(0x16, 270000, 0) + segment(0x80, 0, 0).left(12)),
              TimePairList({{1, 1 + 4.217}}));
}

TEST(PgsLineTimes, NotPgs) {
    EXPECT_EQ(pgsLineTimes({}), TimePairList());
    EXPECT_EQ(pgsLineTimes(QByteArray(12, '\x80')), TimePairList());
    EXPECT_EQ(pgsLineTimes("1\n00:00:01,000 --> 00:00:02,000\nHello\n\n"), TimePairList());
}

// --- The road taken by the file's kind -------------------------------------------

class LineTimesByKind : public ImageSubScratch {};

TEST_F(LineTimesByKind, SupIdxAndOthers) {
    const QByteArray pgs = makePgs({{"A", 10.0, 12.5}});
    const auto importer = SCImageSubImporter::create();
    EXPECT_EQ(importer->findStartEndTimesForSubURL(write("a.sup", pgs)),
              TimePairList({{10.0, 12.5}}));
    EXPECT_EQ(importer->findStartEndTimesForSubURL(write("b.SUP", pgs)),
              TimePairList({{10.0, 12.5}}));
    // A SUP that cannot be read gives an empty list, not none.
    EXPECT_EQ(importer->findStartEndTimesForSubURL(QUrl::fromLocalFile(scratch.filePath("no.sup"))),
              TimePairList());
    for (const char* other : {"c.pgs", "d.srt", "e", "f.sub"})
        EXPECT_EQ(importer->findStartEndTimesForSubURL(write(other, pgs)), std::nullopt) << other;
    EXPECT_EQ(importer->findStartEndTimesForSubURL(QUrl::fromLocalFile(scratch.filePath("no.idx"))),
              std::nullopt);
    EXPECT_EQ(importer->streamID(), -1);
    EXPECT_TRUE(logged.isEmpty()) << logged.join('\n').toStdString();
}

}  // namespace
