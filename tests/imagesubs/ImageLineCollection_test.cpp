// The importer's collection of converted lines, with reports posted in
// chosen orders as converters finishing at different times would.
#include <QImage>
#include <QList>

#include "ImageSubScratch.h"
#include "document/SCSubtitle.h"
#include "document/SCSubtitleLine.h"
#include "imagesubs/SCImageSubImporter.h"
#include "platform/NotificationCenter.h"
#include "support/EventLoop.h"

namespace {

struct Report {
    int number;
    double start;
    double end;
    QVariant image = QImage(4, 2, QImage::Format_RGB32);
    QVariant dialog = QString();  // "line N" when left empty
};

// Posts each report as a converter would, with the importer's number or the
// one given.
void post(const std::vector<Report>& reports, int count, QVariant owner) {
    for (const Report& r : reports) {
        const QString text = r.dialog.toString().isEmpty() && r.dialog.isValid()
                                 ? QString("line %1").arg(r.number)
                                 : r.dialog.toString();
        platform::NotificationCenter::defaultCenter().post(
            "imageSubLineImported", nullptr,
            {{"startTime", r.start},
             {"endTime", r.end},
             {"isLast", r.number == count - 1},
             {"lineNumber", r.number},
             {"lineImage", r.image},
             {"lineDialog", r.dialog.isValid() ? QVariant(text) : QVariant()},
             {"theImporter", owner}});
    }
}

struct Received {
    QList<qint64> order;  // as handed to the document
    SCSubtitleLineList lines;
};

// Runs the reports through a fresh importer and a document, then the end of
// the import.
Received collect(const std::vector<Report>& reports, int count,
                 const std::function<void(const SCImageSubImporter&)>& foreignPosts = {}) {
    auto document = SCSubtitle::create();
    auto importer = SCImageSubImporter::create();
    importer->setParentSubtitle(document);
    Received received;
    platform::NotificationObserver watch(
        "imageSubSCSubtitleLineCreated", [&](const platform::Notification& n) {
            received.order.append(
                n.userInfo.value("theSubtitleLine").value<SCSubtitleLinePtr>()->userIndex());
        });
    if (foreignPosts) foreignPosts(*importer);
    post(reports, count, importer->importNumber());
    importer->finishCollection();
    // Lines after a gap wait in the document until its own end step.
    received.lines = document->subtitleLinesArray() + document->outOfOrderImageSubLines();
    return received;
}

QList<qint64> upTo(int count) {
    QList<qint64> numbers;
    for (int i = 0; i < count; ++i) numbers.append(i);
    return numbers;
}

struct OrderCase {
    const char* name;
    std::vector<Report> reports;
    int count;
};

TEST(ImageLineCollectionTest, EveryLineOnceInOrder) {
    const QList<OrderCase> cases = {
        {"in order", {{0, 1, 2}, {1, 3, 4}, {2, 5, 6}, {3, 7, 8}}, 4},
        {"2, 0, 1, 3", {{2, 5, 6}, {0, 1, 2}, {1, 3, 4}, {3, 7, 8}}, 4},
        {"last first", {{1, 3, 4}, {0, 1, 2}}, 2},
        {"last first of four", {{3, 7, 8}, {1, 3, 4}, {0, 1, 2}, {2, 5, 6}}, 4},
        {"one line", {{0, 1, 2}}, 1},
        {"a line that never reports", {{0, 1, 2}, {2, 5, 6}, {3, 7, 8}}, 4},
        {"a null picture and a null text",
         {{0, 1, 2, QVariant(), QVariant()}, {1, 3, 4}, {2, 5, 6, QVariant()}},
         3},
    };
    for (const OrderCase& c : cases) {
        const Received received = collect(c.reports, c.count);
        QList<qint64> expected;
        for (const Report& r : c.reports) expected.append(r.number);
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(received.order, expected) << c.name;
        ASSERT_EQ(received.lines.size(), expected.size()) << c.name;
        for (qsizetype i = 0; i < received.lines.size(); ++i)
            EXPECT_EQ(received.lines[i]->userIndex(), expected[i]) << c.name;
    }
    const Received nulls = collect(cases.back().reports, 3);
    EXPECT_EQ(nulls.lines[0]->masterText().originalText(), "");
    EXPECT_TRUE(nulls.lines[0]->dialogImage().isNull());
    EXPECT_FALSE(nulls.lines[1]->dialogImage().isNull());
}

TEST(ImageLineCollectionTest, EndsTrimmedAgainstTheNextStart) {
    struct Trim {
        double end;
        double trimmed;
    };
    for (const Trim t : {Trim{12.5, 12.0 - 0.01}, Trim{12.0, 12.0}, Trim{11.0, 11.0}}) {
        // Whichever order the two arrive in.
        for (bool lastFirst : {false, true}) {
            std::vector<Report> reports = {{0, 10.0, t.end}, {1, 12.0, 14.0}};
            if (lastFirst) std::swap(reports[0], reports[1]);
            const Received received = collect(reports, 2);
            ASSERT_EQ(received.lines.size(), 2);
            EXPECT_DOUBLE_EQ(received.lines[0]->userEndTimeDouble(), t.trimmed) << t.end;
            EXPECT_DOUBLE_EQ(received.lines[1]->userEndTimeDouble(), 14.0);
        }
    }
    // A line held past a gap is trimmed against the next line that came.
    const Received gap = collect({{0, 1, 9}, {2, 5, 6}}, 3);
    ASSERT_EQ(gap.lines.size(), 2);
    EXPECT_DOUBLE_EQ(gap.lines[0]->userEndTimeDouble(), 4.99);
}

TEST(ImageLineCollectionTest, ReportsOfOtherImportsAreIgnored) {
    auto other = SCImageSubImporter::create();
    const qint64 otherNumber = other->importNumber();
    const Received received =
        collect({{0, 1, 2}, {1, 3, 4}}, 2, [otherNumber](const SCImageSubImporter& mine) {
            EXPECT_NE(mine.importNumber(), otherNumber);
            post({{0, 9, 10}, {1, 11, 12}}, 2, otherNumber);  // another importer's
            post({{0, 9, 10}, {1, 11, 12}}, 2, QVariant());   // a dead importer's
        });
    EXPECT_EQ(received.order, upTo(2));
    ASSERT_EQ(received.lines.size(), 2);
    EXPECT_DOUBLE_EQ(received.lines[0]->userStartTimeDouble(), 1);
    EXPECT_DOUBLE_EQ(received.lines[1]->userStartTimeDouble(), 3);
}

TEST(ImageLineCollectionTest, ADocumentThatIsGoneGetsNothing) {
    auto importer = SCImageSubImporter::create();
    int posted = 0;
    platform::NotificationObserver watch("imageSubSCSubtitleLineCreated",
                                         [&](const platform::Notification&) { ++posted; });
    {
        auto document = SCSubtitle::create();
        importer->setParentSubtitle(document);
    }
    post({{0, 1, 2}, {1, 3, 4}}, 2, importer->importNumber());
    importer->finishCollection();
    EXPECT_EQ(posted, 0);
    EXPECT_EQ(importer->toVerifyIndex(), 2);
}

}  // namespace
