#include "document/TimeConflicts.h"

#include <cmath>

#include "common/TimeConflictTypes.h"

namespace {

QString markOf(timeConflictTypes::Value value) {
    return timeConflictTypes(value).rawValue();
}

}  // namespace

TimeConflicts::Result TimeConflicts::search(const std::vector<Input>& lines) {
    struct Entry {
        double start, end;
        std::size_t linesIndex;
        QString mark;
    };
    Result result;
    result.lines.resize(lines.size());
    std::vector<Entry> entries;
    entries.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (!lines[i].excluded) entries.push_back({lines[i].start, lines[i].end, i, {}});

    const QString decreasing = markOf(timeConflictTypes::decreasingTime);
    const QString endOverlap = markOf(timeConflictTypes::endOverlap);
    const QString startOverlap = markOf(timeConflictTypes::startOverlap);
    const QString bothOverlap = markOf(timeConflictTypes::bothOverlap);
    const QString enclosed = markOf(timeConflictTypes::enclosed);

    auto overlapStep = [&](Entry& cur, Entry& partner, double amount) {
        result.lines[cur.linesIndex].endOverlap = amount;
        result.lines[partner.linesIndex].startOverlap = amount;
        if (cur.mark.isEmpty())
            cur.mark = endOverlap;
        else if (cur.mark == startOverlap)
            cur.mark = bothOverlap;
        partner.mark = startOverlap;
    };

    int count = 0;
    const std::size_t n = entries.size();
    for (std::size_t i = 0; i + 1 < n; ++i) {
        Entry& cur = entries[i];
        Entry& nxt = entries[i + 1];
        if (!(cur.start < cur.end)) {
            cur.mark = decreasing;
            ++count;
            continue;
        }
        if (!(nxt.start < cur.end)) continue;
        ++count;
        if (!(nxt.end > cur.end)) {
            nxt.mark = enclosed;
            for (std::size_t k = i + 2; k < n && entries[k].start < cur.end; ++k) {
                ++count;
                if (!(entries[k].end > cur.end))
                    entries[k].mark = enclosed;
                else
                    overlapStep(cur, entries[k], cur.end - entries[k].start);
            }
        } else {
            overlapStep(cur, nxt, cur.end - nxt.start);
        }
    }

    for (const Entry& e : entries) result.lines[e.linesIndex].mark = e.mark;
    result.count = count;
    return result;
}

bool TimeConflicts::repair(std::vector<RepairLine>& lines) {
    const QString endOverlap = markOf(timeConflictTypes::endOverlap);
    const QString startOverlap = markOf(timeConflictTypes::startOverlap);
    const QString bothOverlap = markOf(timeConflictTypes::bothOverlap);
    bool changed = false;
    for (std::size_t p = 0; p < lines.size(); ++p) {
        RepairLine& line = lines[p];
        if (line.mark != endOverlap) continue;
        RepairLine* partner = nullptr;
        for (std::size_t q = p; q < lines.size() && partner == nullptr; ++q)
            if (lines[q].mark == startOverlap || lines[q].mark == bothOverlap) partner = &lines[q];
        if (partner == nullptr) continue;
        const double o = line.endOverlap;
        const double d1 = line.end - line.start;
        const double d2 = partner->end - partner->start;
        // Marks set by hand can make the sum zero or negative; dividing by it
        // would store times that are not finite numbers.
        if (!(d1 + d2 > 0)) continue;
        const double newEnd = line.end - o * d1 / (d1 + d2);
        const double newStart = partner->start + o * d2 / (d1 + d2);
        if (!std::isfinite(newEnd) || !std::isfinite(newStart)) continue;
        line.end = newEnd;
        partner->start = newStart;
        changed = true;
    }
    return changed;
}
