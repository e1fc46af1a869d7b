#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <string>

#include "DocumentFixtures.h"
#include "common/TimeTexts.h"
#include "document/TimeAdjustment.h"

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
        // A cue that ends before it starts (the loader keeps it): its end is
        // the earliest time, and the export would write one below 0 as
        // 23:59:57.
        {"an end before its start would go below zero",
         {{5, 1}, {6, 8}},
         4,
         "Backward",
         {{5, 1}, {6, 8}},
         Refusal::endBeforeZero,
         0,
         1},
        {"an end before a later line's start",
         {{5, 6}, {3, 2}},
         2.5,
         "Backward",
         {{5, 6}, {3, 2}},
         Refusal::endBeforeZero,
         1,
         2},
        {"an end before its start, by exactly that end",
         {{5, 1}, {6, 8}},
         1,
         "Backward",
         {{4, 0}, {5, 7}}},
        // Of a start and an end at the same time, the start is named.
        {"a start and an end at the earliest time",
         {{4, 2}, {2, 3}},
         3,
         "Backward",
         {{4, 2}, {2, 3}},
         Refusal::endBeforeZero,
         0,
         2},
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

TEST(SCSubtitleTiming, StretchScalesToTheEndOfTheLineThatStartsLastAndRefusesUnusableFactors) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const TimingCase cases[] = {
        {"forward", {{10, 12}, {90, 100}}, 10, "Forward", {{11, 13.2}, {99, 110}}},
        {"backward", {{10, 12}, {90, 100}}, 10, "Backward", {{9, 10.8}, {81, 90}}},
        // In time order, an earlier line that ends later changes nothing: the
        // last line starts last.
        {"a sorted file whose earlier line ends after the last line's end",
         {{10, 50}, {20, 25}},
         25,
         "Forward",
         {{20, 100}, {40, 50}}},
        // Signs and songs after the dialogue: the last subtitle on screen
        // moves by the amount (12 s to 9 s), not the list's last line.
        {"out of time order, the line that starts last",
         {{10, 12}, {2, 4}},
         3,
         "Backward",
         {{7.5, 9}, {1.5, 3}}},
        {"out of time order, forward",
         {{1, 2}, {50, 100}, {3, 4}},
         10,
         "Forward",
         {{1.1, 2.2}, {55, 110}, {3.3, 4.4}}},
        {"equal starts, the last of them in the list",
         {{5, 10}, {5, 8}, {1, 2}},
         8,
         "Forward",
         {{10, 20}, {10, 16}, {2, 4}}},
        {"out of time order, refused at the end of the line that starts last",
         {{10, 12}, {2, 4}},
         12,
         "Backward",
         {{10, 12}, {2, 4}},
         Refusal::stretchPastEnd,
         0,
         12},
        {"equal starts, refused at the last of them",
         {{5, 10}, {5, 8}, {1, 2}},
         9,
         "Backward",
         {{5, 10}, {5, 8}, {1, 2}},
         Refusal::stretchPastEnd,
         1,
         8},
        {"the line that starts last ends at zero, before it starts",
         {{5, 0}, {1, 2}},
         5,
         "Forward",
         {{5, 0}, {1, 2}},
         Refusal::nothingToStretch,
         0,
         0},
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
         {{0, 0.5}, {0, 0}},
         5,
         "Forward",
         {{0, 0.5}, {0, 0}},
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

namespace {

// The seconds a user gets who types a time of this many milliseconds in the
// view's form (SRT: milliseconds; ASS: hundredths, so whole tens).
double typed(long long millis, bool srt) {
    const double seconds = double(millis) / 1000.0;
    const auto read = doubleTimeFromStringTime(srt ? srtTimeStringFromDoubleTime(seconds)
                                                   : assTimeStringFromDoubleTime(seconds));
    EXPECT_TRUE(read.has_value());
    return read.value_or(-1);
}

// A refusal offers an amount as the view shows it; typed back, it applies,
// and one unit more is refused. The times are as a file holds them: read
// from their texts.
void expectOfferTakenAndOneMoreRefused(long long limitMillis, bool srt, bool stretch) {
    const int units = srt ? 1000 : 100;
    const long long step = srt ? 1 : 10;
    const double limit = typed(limitMillis, srt);
    SCSubtitleLineList lines;
    for (int i = 0; i < 2; ++i) lines.append(SCSubtitleLine::create());
    // A stretch's limit is the end of the line that starts last (kept first
    // in the list); a shift's the earliest time, here the end of a line that
    // ends before it starts.
    const auto reset = [&] {
        lines[0]->setUserStartTimeDouble(stretch ? limit / 2 : limit + 7);
        lines[0]->setUserEndTimeDouble(limit);
        lines[1]->setUserStartTimeDouble(stretch ? 0 : limit + 1);
        lines[1]->setUserEndTimeDouble(stretch ? limit / 4 : limit + 2);
    };
    const auto apply = [&](double amount) {
        reset();
        return stretch ? TimeAdjustment::stretch(lines, amount, "Backward")
                       : TimeAdjustment::shift(lines, amount, "Backward");
    };
    const auto refused = apply(limit + 5);
    ASSERT_FALSE(refused.applied());
    EXPECT_EQ(refused.line, 0);
    const double offer = refused.largestAmount(units);
    const long long offered = std::llround(offer * 1000);
    ASSERT_EQ(offered % step, 0);
    EXPECT_EQ(typed(offered, srt), offer);
    EXPECT_TRUE(apply(typed(offered, srt)).applied());
    EXPECT_FALSE(apply(typed(offered + step, srt)).applied());
    if (!stretch) {
        for (const auto& line : lines) {
            EXPECT_GE(line->userStartTimeDouble(), 0.0);
            EXPECT_GE(line->userEndTimeDouble(), 0.0);
        }
    }
}

}  // namespace

// The largest amount a refused backward stretch or shift offers applies as
// typed, whatever rounding the limit's time carries (2.007 s is held a hair
// above 2007 ms), and one unit more does not.
TEST(SCSubtitleTiming, TheOfferOfARefusalAppliesAsTypedAndOneUnitMoreIsRefused) {
    const struct {
        const char* what;
        long long limitMillis;
        bool srt;
        bool stretch;
        const char* offer;  // as the sheet shows it
    } cases[] = {
        {"stretch, an SRT end of 2.007 s", 2007, true, true, "00:00:02,006"},
        {"stretch, an ASS end of 1:08:16.02", 4096020, false, true, "1:08:16.01"},
        {"stretch, an SRT end of 1:08:16,020", 4096020, true, true, "01:08:16,019"},
        {"shift, an SRT end of 2.007 s", 2007, true, false, "00:00:02,007"},
        {"shift, an ASS end of 1:08:16.02", 4096020, false, false, "1:08:16.02"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        expectOfferTakenAndOneMoreRefused(c.limitMillis, c.srt, c.stretch);
        SCSubtitleLineList line{SCSubtitleLine::create()};
        line[0]->setUserStartTimeDouble(0);
        line[0]->setUserEndTimeDouble(typed(c.limitMillis, c.srt));
        if (!c.stretch) line[0]->setUserStartTimeDouble(line[0]->userEndTimeDouble() + 1);
        const double offer = (c.stretch ? TimeAdjustment::stretch(line, 1e6, "Backward")
                                        : TimeAdjustment::shift(line, 1e6, "Backward"))
                                 .largestAmount(c.srt ? 1000 : 100);
        EXPECT_EQ(c.srt ? srtTimeStringFromDoubleTime(offer) : assTimeStringFromDoubleTime(offer),
                  c.offer);
    }
    // Every limit of the first minutes and around an hour, in milliseconds
    // and in hundredths.
    for (const bool srt : {true, false}) {
        const long long step = srt ? 1 : 10;
        for (const long long from : {step, 3600000LL, 4090000LL})
            for (long long millis = from; millis < from + 2000 * step; millis += step)
                for (const bool stretch : {true, false}) {
                    SCOPED_TRACE((srt ? "SRT " : "ASS ") + std::to_string(millis) +
                                 (stretch ? " ms, stretch" : " ms, shift"));
                    expectOfferTakenAndOneMoreRefused(millis, srt, stretch);
                    if (HasFailure()) return;
                }
    }
}
