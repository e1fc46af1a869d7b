#include "document/TimeConflicts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

struct SearchCase {
    const char* name;
    std::vector<TimeConflicts::Input> lines;
    std::vector<const char*> marks;
    std::vector<double> endOverlaps;
    std::vector<double> startOverlaps;
    int count;
};

}  // namespace

TEST(TimeConflicts, SearchMarksCountsAndMeasuresOverlaps) {
    const SearchCase cases[] = {
        {"empty", {}, {}, {}, {}, 0},
        {"single", {{1, 2}}, {""}, {0}, {0}, 0},
        {"overlap", {{0, 4}, {3, 9}}, {"End Overlap", "Start Overlap"}, {1, 0}, {0, 1}, 1},
        {"touching", {{0, 2}, {2, 3}}, {"", ""}, {0, 0}, {0, 0}, 0},
        {"enclosed then overlap",
         {{0, 10}, {2, 4}, {5, 12}},
         {"End Overlap", "Enclosed", "Start Overlap"},
         {5, 0, 0},
         {0, 0, 5},
         2},
        {"run of three",
         {{0, 5}, {4, 9}, {8, 12}},
         {"End Overlap", "Both Overlap", "Start Overlap"},
         {1, 1, 0},
         {0, 1, 1},
         2},
        {"enclosed line overlapping the next",
         {{0, 10}, {2, 6}, {5, 8}},
         {"", "Enclosed", "Start Overlap"},
         {0, 1, 0},
         {0, 0, 1},
         3},
        {"partner found past an enclosed line",
         {{0, 10}, {1, 5}, {4, 8}, {9, 15}},
         {"End Overlap", "Enclosed", "Start Overlap", "Start Overlap"},
         {1, 1, 0, 0},
         {0, 0, 1, 1},
         4},
        {"zero length first", {{5, 5}, {6, 7}}, {"Decreasing Time", ""}, {0, 0}, {0, 0}, 1},
        {"last never tested", {{1, 2}, {5, 5}}, {"", ""}, {0, 0}, {0, 0}, 0},
        {"same end is enclosed", {{0, 5}, {1, 5}}, {"", "Enclosed"}, {0, 0}, {0, 0}, 1},
        {"excluded between neighbours",
         {{0, 4}, {1, 2, true}, {3, 9}},
         {"End Overlap", "", "Start Overlap"},
         {1, 0, 0},
         {0, 0, 1},
         1},
    };
    for (const auto& c : cases) {
        const auto result = TimeConflicts::search(c.lines);
        ASSERT_EQ(result.lines.size(), c.lines.size()) << c.name;
        EXPECT_EQ(result.count, c.count) << c.name;
        for (std::size_t i = 0; i < c.lines.size(); ++i) {
            EXPECT_EQ(result.lines[i].mark, c.marks[i]) << c.name << " line " << i;
            EXPECT_DOUBLE_EQ(result.lines[i].endOverlap, c.endOverlaps[i]) << c.name << " " << i;
            EXPECT_DOUBLE_EQ(result.lines[i].startOverlap, c.startOverlaps[i])
                << c.name << " " << i;
        }
    }
}

namespace {

// Search, copy the marks into repair lines, repair, and hand back the times.
std::vector<TimeConflicts::Input> searchAndRepair(std::vector<TimeConflicts::Input> lines) {
    const auto found = TimeConflicts::search(lines);
    std::vector<TimeConflicts::RepairLine> repair;
    for (std::size_t i = 0; i < lines.size(); ++i)
        repair.push_back(
            {lines[i].start, lines[i].end, found.lines[i].mark, found.lines[i].endOverlap});
    TimeConflicts::repair(repair);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        lines[i].start = repair[i].start;
        lines[i].end = repair[i].end;
    }
    return lines;
}

}  // namespace

TEST(TimeConflicts, RepairSplitsTheOverlapInProportionToTheDurations) {
    auto two = searchAndRepair({{0, 4}, {3, 9}});
    EXPECT_NEAR(two[0].end, 3.6, 1e-12);
    EXPECT_NEAR(two[1].start, 3.6, 1e-12);
    EXPECT_EQ(TimeConflicts::search(two).count, 0);

    auto enclosed = searchAndRepair({{0, 10}, {2, 4}, {5, 12}});
    EXPECT_NEAR(enclosed[0].end, 10 - 5.0 * 10 / 17, 1e-12);  // about 7.0588
    EXPECT_NEAR(enclosed[2].start, 10 - 5.0 * 10 / 17, 1e-12);
    EXPECT_EQ(enclosed[1].start, 2);
    const auto after = TimeConflicts::search(enclosed);
    EXPECT_EQ(after.count, 1);
    EXPECT_EQ(after.lines[1].mark, "Enclosed");

    auto run = searchAndRepair({{0, 5}, {4, 9}, {8, 12}});
    EXPECT_NEAR(run[0].end, 4.5, 1e-12);
    EXPECT_NEAR(run[1].start, 4.5, 1e-12);
    const auto second = TimeConflicts::search(run);
    EXPECT_EQ(second.count, 1);
    EXPECT_EQ(second.lines[1].mark, "End Overlap");
    run = searchAndRepair(run);
    EXPECT_NEAR(run[1].end, 8 + 4 / 8.5, 1e-12);  // about 8.4706
    EXPECT_NEAR(run[2].start, 8 + 4 / 8.5, 1e-12);

    auto firstPartner = searchAndRepair({{0, 10}, {1, 5}, {4, 8}, {9, 15}});
    EXPECT_NEAR(firstPartner[0].end, 10 - 10.0 / 14, 1e-12);  // about 9.2857
    EXPECT_NEAR(firstPartner[2].start, 4 + 4.0 / 14, 1e-12);  // about 4.2857
    EXPECT_EQ(firstPartner[3].start, 9);

    auto noEndOverlap = searchAndRepair({{0, 10}, {2, 6}, {5, 8}});
    EXPECT_EQ(noEndOverlap[0].end, 10);
    EXPECT_EQ(noEndOverlap[2].start, 5);

    auto excluded = searchAndRepair({{0, 4}, {1, 2, true}, {3, 9}});
    EXPECT_NEAR(excluded[0].end, 3.6, 1e-12);
    EXPECT_NEAR(excluded[2].start, 3.6, 1e-12);
}

TEST(TimeConflicts, RepairLeavesLinesWithoutAPartnerOrWithANonPositiveSum) {
    std::vector<TimeConflicts::RepairLine> alone{{0, 4, "End Overlap", 1}, {5, 6, "", 0}};
    EXPECT_FALSE(TimeConflicts::repair(alone));
    EXPECT_EQ(alone[0].end, 4);

    std::vector<TimeConflicts::RepairLine> degenerate{{4, 2, "End Overlap", 1},
                                                      {3, 3, "Start Overlap", 0}};
    EXPECT_FALSE(TimeConflicts::repair(degenerate));
    EXPECT_EQ(degenerate[0].end, 2);
    EXPECT_EQ(degenerate[1].start, 3);
}

namespace {

// The search as a plain walk: every line against the next and every later
// line of its window. Quadratic, as the search was; the oracle for the fast one.
TimeConflicts::Result walkedSearch(const std::vector<TimeConflicts::Input>& lines) {
    struct Entry {
        double start, end;
        std::size_t at;
        QString mark;
    };
    TimeConflicts::Result result;
    result.lines.resize(lines.size());
    std::vector<Entry> e;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (!lines[i].excluded) e.push_back({lines[i].start, lines[i].end, i, {}});
    auto step = [&](Entry& cur, Entry& partner, double amount) {
        result.lines[cur.at].endOverlap = amount;
        result.lines[partner.at].startOverlap = amount;
        if (cur.mark.isEmpty())
            cur.mark = "End Overlap";
        else if (cur.mark == "Start Overlap")
            cur.mark = "Both Overlap";
        partner.mark = "Start Overlap";
    };
    for (std::size_t i = 0; i + 1 < e.size(); ++i) {
        Entry &cur = e[i], &nxt = e[i + 1];
        if (!(cur.start < cur.end)) {
            cur.mark = "Decreasing Time";
            ++result.count;
            continue;
        }
        if (!(nxt.start < cur.end)) continue;
        ++result.count;
        if (nxt.end > cur.end) {
            step(cur, nxt, cur.end - nxt.start);
            continue;
        }
        nxt.mark = "Enclosed";
        for (std::size_t k = i + 2; k < e.size() && e[k].start < cur.end; ++k) {
            ++result.count;
            if (!(e[k].end > cur.end))
                e[k].mark = "Enclosed";
            else
                step(cur, e[k], cur.end - e[k].start);
        }
    }
    for (const Entry& entry : e) result.lines[entry.at].mark = entry.mark;
    return result;
}

}  // namespace

// Small whole-number times make shared starts and ends, nesting and every
// kind of mark common; a few times are no number at all.
TEST(TimeConflicts, SearchLeavesWhatAWalkInLineOrderLeaves) {
    std::mt19937 random(20261210);
    for (int round = 0; round < 3000; ++round) {
        std::vector<TimeConflicts::Input> lines(random() % 24);
        for (auto& line : lines) {
            line.start = double(random() % 12);
            line.end = double(random() % 14);
            if (random() % 40 == 0) line.end = std::nan("");
            if (random() % 40 == 0) line.start = std::nan("");
            line.excluded = random() % 10 == 0;
        }
        const auto fast = TimeConflicts::search(lines);
        const auto walked = walkedSearch(lines);
        ASSERT_EQ(fast.count, walked.count) << "round " << round;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            ASSERT_EQ(fast.lines[i].mark, walked.lines[i].mark)
                << "round " << round << " line " << i;
            ASSERT_EQ(fast.lines[i].endOverlap, walked.lines[i].endOverlap) << "round " << round;
            ASSERT_EQ(fast.lines[i].startOverlap, walked.lines[i].startOverlap)
                << "round " << round;
        }
    }
}
