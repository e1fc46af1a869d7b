#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include "DocumentFixtures.h"

using namespace documenttest;

namespace {

std::shared_ptr<SCSubtitle> documentWith(const std::vector<std::pair<double, double>>& times) {
    auto subtitle = SCSubtitle::create();
    SCSubtitleLineList lines;
    for (const auto& [start, end] : times) {
        auto line = SCSubtitleLine::create();
        line->setUserStartTimeDouble(start);
        line->setUserEndTimeDouble(end);
        lines.append(line);
    }
    subtitle->setSubtitleLinesArray(lines);
    return subtitle;
}

std::vector<std::pair<double, double>> timesOf(const SCSubtitle& subtitle) {
    std::vector<std::pair<double, double>> times;
    for (const auto& line : subtitle.subtitleLinesArray())
        times.emplace_back(line->userStartTimeDouble(), line->userEndTimeDouble());
    return times;
}

void expectTimes(const SCSubtitle& subtitle, const std::vector<std::pair<double, double>>& want) {
    const auto got = timesOf(subtitle);
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_NEAR(got[i].first, want[i].first, 1e-9) << "line " << i;
        EXPECT_NEAR(got[i].second, want[i].second, 1e-9) << "line " << i;
    }
}

// Times before, the amount and direction of one call, and the times after it.
struct TimingCase {
    const char* name;
    std::vector<std::pair<double, double>> before;
    double amount;
    const char* direction;
    std::vector<std::pair<double, double>> after;
};

template <std::size_t N>
void runTimingCases(const TimingCase (&cases)[N],
                    void (SCSubtitle::*operation)(double, const QString&)) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto subtitle = documentWith(c.before);
        ((*subtitle).*operation)(c.amount, c.direction);
        expectTimes(*subtitle, c.after);
    }
}

}  // namespace

TEST(SCSubtitleConflicts, ALoadPublishesItsSearchAndTheRepairClosesTheOverlap) {
    auto subtitle = loaded("overlap.srt", subtitleTypes::srt);
    ASSERT_TRUE(testsupport::spinUntil([&] { return subtitle->timeConflictsCount() == 1; }));
    const auto lines = subtitle->subtitleLinesArray();
    EXPECT_EQ(lines[0]->timeConflict(), "End Overlap");
    EXPECT_EQ(lines[1]->timeConflict(), "Start Overlap");
    EXPECT_DOUBLE_EQ(lines[0]->endOverlap(), 1.0);
    EXPECT_DOUBLE_EQ(lines[1]->startOverlap(), 1.0);

    subtitle->fixTimeConflicts();
    expectTimes(*subtitle, {{0, 3.6}, {3.6, 9}});
    EXPECT_EQ(subtitle->timeConflictsCount(), 0);  // searched again at once
    EXPECT_EQ(lines[0]->timeConflict(), "");
    EXPECT_EQ(lines[0]->endOverlap(), 0);
}

TEST(SCSubtitleConflicts, SearchPublishesAtOnceOnTheMainThreadAndLaterFromOthers) {
    auto subtitle = documentWith({{0, 10}, {2, 4}, {5, 12}});
    int countChanges = 0;
    QObject::connect(subtitle.get(), &SCSubtitle::timeConflictsCountChanged,
                     [&] { ++countChanges; });
    subtitle->findTimeConflicts();
    EXPECT_EQ(countChanges, 1);
    EXPECT_EQ(subtitle->timeConflictsCount(), 2);
    EXPECT_EQ(subtitle->subtitleLinesArray()[1]->timeConflict(), "Enclosed");

    subtitle->subtitleLinesArray()[1]->setIsExcluded(true);
    QThread* worker = QThread::create([subtitle] { subtitle->findTimeConflicts(); });
    worker->start();
    worker->wait();
    delete worker;
    ASSERT_TRUE(testsupport::spinUntil([&] { return countChanges == 2; }));
    EXPECT_EQ(subtitle->timeConflictsCount(), 1);
    EXPECT_EQ(subtitle->subtitleLinesArray()[1]->timeConflict(), "");

    // `timeChanged` from anywhere runs the search too.
    subtitle->subtitleLinesArray()[1]->setIsExcluded(false);
    platform::NotificationCenter::defaultCenter().post("timeChanged");
    EXPECT_EQ(subtitle->timeConflictsCount(), 2);
}

TEST(SCSubtitleConflicts, ADocumentReleasedWhileItsSearchRunsGoesQuietly) {
    QTemporaryDir folder;
    const QString path = folder.filePath("overlapping.srt");
    QByteArray text;
    for (int i = 0; i < 4000; ++i)
        text += QByteArray::number(i + 1) + "\n00:00:0" + QByteArray::number(i % 10) +
                ",000 --> 00:00:09,000\nline\n\n";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();

    auto subtitle = SCSubtitle::create();
    subtitle->setSubtitleFileType(subtitleTypes::srt);
    auto loading = std::async(std::launch::async, [subtitle, path] {
        return subtitle->initializeFromTextSubURL(QUrl::fromLocalFile(path), "UTF8");
    });
    ASSERT_EQ(loading.get(), resultTypes::ok);
    // Runs the publication, which queues the search, and lets go at once.
    ASSERT_TRUE(testsupport::spinUntil([&] { return !subtitle->subtitleLinesArray().isEmpty(); }));
    const std::weak_ptr<SCSubtitle> weak = subtitle;
    subtitle.reset();
    EXPECT_TRUE(weak.expired());
    testsupport::drainMainQueue();  // the search's results find no document
}

TEST(SCSubtitleTiming, ShiftMovesEveryLineAndStopsAtANegativeStart) {
    const TimingCase cases[] = {
        {"forward", {{1, 3}, {5, 6}}, 2.5, "Forward", {{3.5, 5.5}, {7.5, 8.5}}},
        {"any other direction text is forward", {{1, 3}}, 1, "backward", {{2, 4}}},
        {"backward past zero changes nothing", {{1, 3}, {5, 6}}, 2, "Backward", {{1, 3}, {5, 6}}},
        {"stops at the first negative start",
         {{5, 6}, {1, 3}, {8, 9}},
         2,
         "Backward",
         {{3, 4}, {1, 3}, {8, 9}}},
        {"exactly to zero", {{2, 3}, {5, 6}}, 2, "Backward", {{0, 1}, {3, 4}}},
        {"no lines", {}, 2, "Forward", {}},
    };
    runTimingCases(cases, &SCSubtitle::shiftTimesByDoubleTime);
}

TEST(SCSubtitleTiming, StretchScalesToTheLastLinesEndAndRefusesUnusableFactors) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const TimingCase cases[] = {
        {"forward", {{10, 12}, {90, 100}}, 10, "Forward", {{11, 13.2}, {99, 110}}},
        {"backward", {{10, 12}, {90, 100}}, 10, "Backward", {{9, 10.8}, {81, 90}}},
        {"factor from the last line in the list",
         {{10, 50}, {20, 25}},
         25,
         "Forward",
         {{20, 100}, {40, 50}}},
        {"backward by the whole end",
         {{10, 12}, {90, 100}},
         100,
         "Backward",
         {{10, 12}, {90, 100}}},
        {"last end of zero", {{1, 2}, {0, 0}}, 5, "Forward", {{1, 2}, {0, 0}}},
        {"negative amount past the end", {{1, 2}, {3, 4}}, -8, "Forward", {{1, 2}, {3, 4}}},
        {"not a number", {{1, 2}, {3, 4}}, nan, "Forward", {{1, 2}, {3, 4}}},
        {"infinite", {{1, 2}, {3, 4}}, inf, "Forward", {{1, 2}, {3, 4}}},
        {"no lines", {}, 5, "Forward", {}},
    };
    runTimingCases(cases, &SCSubtitle::stretchTimesByDoubleTime);
}
