#include "document/TimeConflicts.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

#include "common/TimeConflictTypes.h"

namespace {

QString markOf(timeConflictTypes::Value value) {
    return timeConflictTypes(value).rawValue();
}

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Maxima over ranges of positions, for the first or last position in a range
// whose value passes a bound, in logarithmic time.
class SearchTree {
  public:
    static constexpr std::size_t none = std::numeric_limits<std::size_t>::max();

    explicit SearchTree(const std::vector<double>& values) {
        while (width_ < values.size()) width_ *= 2;
        max_.assign(2 * width_, -kInfinity);
        std::copy(values.begin(), values.end(), max_.begin() + std::ptrdiff_t(width_));
        for (std::size_t i = width_ - 1; i > 0; --i)
            max_[i] = std::max(max_[2 * i], max_[2 * i + 1]);
    }

    void set(std::size_t position, double value) {
        std::size_t i = position + width_;
        max_[i] = value;
        for (i /= 2; i > 0; i /= 2) max_[i] = std::max(max_[2 * i], max_[2 * i + 1]);
    }

    // The first position in [from, to) whose value is at least `bound`.
    std::size_t firstAtLeast(std::size_t from, std::size_t to, double bound) const {
        return find(
            1, 0, width_, from, to, [bound](double v) { return v >= bound; }, true);
    }
    // The last position in [from, to) whose value is above `bound`.
    std::size_t lastAbove(std::size_t from, std::size_t to, double bound) const {
        return find(
            1, 0, width_, from, to, [bound](double v) { return v > bound; }, false);
    }

  private:
    template <typename Passes>
    std::size_t find(std::size_t node, std::size_t low, std::size_t high, std::size_t from,
                     std::size_t to, const Passes& passes, bool first) const {
        if (high <= from || to <= low || !passes(max_[node])) return none;
        if (high - low == 1) return low;
        const std::size_t middle = (low + high) / 2;
        const std::size_t a = first ? find(2 * node, low, middle, from, to, passes, first)
                                    : find(2 * node + 1, middle, high, from, to, passes, first);
        if (a != none) return a;
        return first ? find(2 * node + 1, middle, high, from, to, passes, first)
                     : find(2 * node, low, middle, from, to, passes, first);
    }

    std::size_t width_ = 1;
    std::vector<double> max_;
};

}  // namespace

TimeConflicts::Result TimeConflicts::search(const std::vector<Input>& lines) {
    Result result;
    result.lines.resize(lines.size());
    std::vector<std::size_t> at;  // position in `lines` of each line searched
    at.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (!lines[i].excluded) at.push_back(i);
    const std::size_t n = at.size();
    auto start = [&](std::size_t k) { return lines[at[k]].start; };
    auto end = [&](std::size_t k) { return lines[at[k]].end; };

    const QString decreasing = markOf(timeConflictTypes::decreasingTime);
    const QString endOverlap = markOf(timeConflictTypes::endOverlap);
    const QString startOverlap = markOf(timeConflictTypes::startOverlap);
    const QString bothOverlap = markOf(timeConflictTypes::bothOverlap);
    const QString enclosed = markOf(timeConflictTypes::enclosed);

    // Each line is compared with the next. A next line that ends no later
    // is enclosed, and every later line that starts before this line's end
    // (up to the first that does not) is enclosed as well or overlaps it:
    // that window is found by search, not walked, so many lines sharing one
    // start or end cost n log n, not n squared. The marks come out as a walk
    // in line order would leave them: a line's mark before its own turn is
    // the last one written to it, by its predecessor or by the latest
    // window holding it.
    enum class Turn { decreasing, apart, encloses, overlaps };
    std::vector<Turn> turn(n, Turn::apart);
    std::vector<std::size_t> windowEnd(n, 0), lastOverlapping(n, SearchTree::none);
    std::vector<double> startKeys(n), endKeys(n);
    for (std::size_t k = 0; k < n; ++k) {
        // A time that is no number ends a window and overlaps nothing.
        startKeys[k] = std::isnan(start(k)) ? kInfinity : start(k);
        endKeys[k] = std::isnan(end(k)) ? -kInfinity : end(k);
    }
    const SearchTree starts(startKeys), ends(endKeys);
    std::vector<std::vector<std::size_t>> closing(n + 1);
    for (std::size_t j = 0; j + 1 < n; ++j) {
        if (!(start(j) < end(j)))
            turn[j] = Turn::decreasing;
        else if (!(start(j + 1) < end(j)))
            turn[j] = Turn::apart;
        else if (end(j + 1) > end(j))
            turn[j] = Turn::overlaps;
        else {
            turn[j] = Turn::encloses;
            const std::size_t first = starts.firstAtLeast(j + 2, n, end(j));
            windowEnd[j] = first == SearchTree::none ? n : first;
            lastOverlapping[j] = ends.lastAbove(j + 2, windowEnd[j], end(j));
            if (windowEnd[j] > j + 2) closing[windowEnd[j]].push_back(j);
        }
    }

    // Windows holding the current line: their owners, and the owners' ends
    // (negated, so that the latest owner ending before a line is a search
    // for the last value above).
    std::set<std::size_t> open;
    SearchTree openEnds(std::vector<double>(n, -kInfinity));
    std::vector<QString> marks(n);
    qint64 count = 0;
    for (std::size_t k = 0; k < n; ++k) {
        for (std::size_t j : closing[k]) {
            open.erase(j);
            openEnds.set(j, -kInfinity);
        }
        if (k >= 2 && turn[k - 2] == Turn::encloses && windowEnd[k - 2] > k) {
            open.insert(k - 2);
            openEnds.set(k - 2, -end(k - 2));
        }
        QString& mark = marks[k];
        LineResult& line = result.lines[at[k]];
        const Turn before = k >= 1 ? turn[k - 1] : Turn::apart;
        if (before == Turn::encloses) {
            mark = enclosed;
        } else if (before == Turn::overlaps) {
            mark = startOverlap;
        } else if (!open.empty()) {
            mark = end(k) > end(*open.rbegin()) ? startOverlap : enclosed;
        }
        if (before == Turn::overlaps) {
            line.startOverlap = end(k - 1) - start(k);
        } else if (k >= 2 && !std::isnan(end(k))) {
            const std::size_t j = openEnds.lastAbove(0, k - 1, -end(k));
            if (j != SearchTree::none) line.startOverlap = end(j) - start(k);
        }

        auto overlapMark = [&] {
            if (mark.isEmpty())
                mark = endOverlap;
            else if (mark == startOverlap)
                mark = bothOverlap;
        };
        if (k + 1 == n) break;
        switch (turn[k]) {
            case Turn::decreasing:
                mark = decreasing;
                ++count;
                break;
            case Turn::apart:
                break;
            case Turn::overlaps:
                ++count;
                overlapMark();
                line.endOverlap = end(k) - start(k + 1);
                break;
            case Turn::encloses:
                count += 1 + qint64(windowEnd[k] - (k + 2));
                if (lastOverlapping[k] != SearchTree::none) {
                    overlapMark();
                    line.endOverlap = end(k) - start(lastOverlapping[k]);
                }
                break;
        }
    }
    for (std::size_t k = 0; k < n; ++k) result.lines[at[k]].mark = marks[k];
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
