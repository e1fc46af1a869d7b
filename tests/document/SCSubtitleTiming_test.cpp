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

using Refusal = TimeAdjustment::Refusal;

// Times before, the amount and direction of one call, the times after it,
// and what the call said: why it was refused, with the line that stopped it
// and that line's time.
struct TimingCase {
    const char* name;
    std::vector<std::pair<double, double>> before;
    double amount;
    const char* direction;
    std::vector<std::pair<double, double>> after;
    Refusal refusal = Refusal::none;
    qsizetype line = -1;
    double limit = 0.0;
};

template <std::size_t N>
void runTimingCases(const TimingCase (&cases)[N],
                    TimeAdjustment::Result (SCSubtitle::*operation)(double, const QString&)) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto subtitle = documentWith(c.before);
        const TimeAdjustment::Result result = ((*subtitle).*operation)(c.amount, c.direction);
        expectTimes(*subtitle, c.after);
        EXPECT_EQ(result.refusal, c.refusal);
        EXPECT_EQ(result.applied(), c.refusal == Refusal::none);
        if (c.refusal == Refusal::none || c.refusal == Refusal::notAnAmount) continue;
        EXPECT_EQ(result.line, c.line);
        EXPECT_DOUBLE_EQ(result.limit, c.limit);
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

TEST(SCSubtitleTiming, ShiftMovesEveryLineOrNone) {
    const TimingCase cases[] = {
        {"forward", {{1, 3}, {5, 6}}, 2.5, "Forward", {{3.5, 5.5}, {7.5, 8.5}}},
        {"any other direction text is forward", {{1, 3}}, 1, "backward", {{2, 4}}},
        {"backward past zero changes nothing",
         {{1, 3}, {5, 6}},
         2,
         "Backward",
         {{1, 3}, {5, 6}},
         Refusal::startBeforeZero,
         0,
         1},
        // The earliest start decides, wherever it stands: no line moves.
        {"a later line that would start before zero stops every line",
         {{5, 6}, {1, 3}, {8, 9}},
         2,
         "Backward",
         {{5, 6}, {1, 3}, {8, 9}},
         Refusal::startBeforeZero,
         1,
         1},
        {"out of order, by the earliest start",
         {{10, 12}, {2, 4}, {15, 16}},
         2,
         "Backward",
         {{8, 10}, {0, 2}, {13, 14}}},
        {"exactly to zero", {{2, 3}, {5, 6}}, 2, "Backward", {{0, 1}, {3, 4}}},
        // 0.7 + 0.1 is held a hair below 0.8: the start goes to 0, not below.
        {"a start a rounding below the amount goes to zero",
         {{0.7 + 0.1, 2}, {5, 6}},
         0.8,
         "Backward",
         {{0, 1.2}, {4.2, 5.2}}},
        {"a millisecond too far",
         {{3, 4}, {2, 3}},
         2.001,
         "Backward",
         {{3, 4}, {2, 3}},
         Refusal::startBeforeZero,
         1,
         2},
        {"not a number",
         {{1, 3}},
         std::numeric_limits<double>::quiet_NaN(),
         "Backward",
         {{1, 3}},
         Refusal::notAnAmount},
        {"no lines", {}, 2, "Forward", {}},
        {"no lines backward", {}, 2, "Backward", {}},
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
         {{10, 12}, {90, 100}},
         Refusal::stretchPastEnd,
         1,
         100},
        {"backward beyond the last line's end, which is not the latest",
         {{10, 50}, {20, 25}},
         30,
         "Backward",
         {{10, 50}, {20, 25}},
         Refusal::stretchPastEnd,
         1,
         25},
        {"last end of zero",
         {{1, 2}, {0, 0}},
         5,
         "Forward",
         {{1, 2}, {0, 0}},
         Refusal::nothingToStretch,
         1,
         0},
        {"negative amount past the end",
         {{1, 2}, {3, 4}},
         -8,
         "Forward",
         {{1, 2}, {3, 4}},
         Refusal::stretchPastEnd,
         1,
         4},
        {"not a number", {{1, 2}, {3, 4}}, nan, "Forward", {{1, 2}, {3, 4}}, Refusal::notAnAmount},
        {"infinite", {{1, 2}, {3, 4}}, inf, "Forward", {{1, 2}, {3, 4}}, Refusal::notAnAmount},
        {"no lines", {}, 5, "Forward", {}},
    };
    runTimingCases(cases, &SCSubtitle::stretchTimesByDoubleTime);
}

// The amount a refused shift or stretch names: one the same action takes,
// in whole units of the view's time form.
TEST(SCSubtitleTiming, ARefusalNamesTheLargestAmountThatApplies) {
    const struct {
        const char* name;
        Refusal refusal;
        double limit;
        int units;
        double largest;
    } cases[] = {
        {"shift to the earliest start", Refusal::startBeforeZero, 2.0, 1000, 2.0},
        {"shift, a start between milliseconds", Refusal::startBeforeZero, 1.0996, 1000, 1.099},
        {"shift, in hundredths", Refusal::startBeforeZero, 1.0996, 100, 1.09},
        {"shift, a start a rounding below", Refusal::startBeforeZero, 0.7 + 0.1, 1000, 0.8},
        {"shift, a line before zero already", Refusal::startBeforeZero, -3.0, 1000, 0.0},
        {"stretch, below the end", Refusal::stretchPastEnd, 100.0, 1000, 99.999},
        {"stretch, in hundredths", Refusal::stretchPastEnd, 100.0, 100, 99.99},
        {"stretch, an end between milliseconds", Refusal::stretchPastEnd, 100.0004, 1000, 100.0},
        {"stretch, an end below one unit", Refusal::stretchPastEnd, 0.0005, 1000, 0.0},
        {"nothing to stretch", Refusal::nothingToStretch, 0.0, 1000, 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TimeAdjustment::Result refused{c.refusal, 0, c.limit};
        EXPECT_NEAR(refused.largestAmount(c.units), c.largest, 1e-9);
        // The amount is taken: the same action by it applies (by 0, it
        // moves nothing, so nothing refuses it).
        if (c.refusal == Refusal::nothingToStretch) continue;
        const bool stretch = c.refusal == Refusal::stretchPastEnd;
        auto subtitle = documentWith({{stretch ? 0.0 : c.limit, stretch ? c.limit : c.limit + 1}});
        const auto result =
            stretch ? subtitle->stretchTimesByDoubleTime(refused.largestAmount(c.units), "Backward")
                    : subtitle->shiftTimesByDoubleTime(refused.largestAmount(c.units), "Backward");
        EXPECT_TRUE(result.applied());
    }
}
