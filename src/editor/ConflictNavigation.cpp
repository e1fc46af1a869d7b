#include "editor/ConflictNavigation.h"

namespace {

bool showsClearOfTheEdges(int row, int firstShown, int shownCount) {
    return firstShown + 2 <= row && row <= firstShown + shownCount - 2;
}

}  // namespace

std::optional<ConflictNavigation::Jump> ConflictNavigation::next(int selectedRow,
                                                                 const std::vector<bool>& marks,
                                                                 int firstShown, int shownCount) {
    const int n = int(marks.size());
    const int from = selectedRow < 0 ? 0 : selectedRow;
    for (int t = from + 1; t < n; ++t) {
        if (!marks[std::size_t(t)]) continue;
        const int scrollRow = t < n - 3 ? t + 3 : n - 1;
        return Jump{t, scrollRow, !showsClearOfTheEdges(scrollRow, firstShown, shownCount)};
    }
    return std::nullopt;
}

std::optional<ConflictNavigation::Jump> ConflictNavigation::previous(int selectedRow,
                                                                     const std::vector<bool>& marks,
                                                                     int firstShown,
                                                                     int shownCount) {
    if (selectedRow <= 0) return std::nullopt;
    for (int t = std::min(selectedRow, int(marks.size())) - 1; t >= 0; --t) {
        if (!marks[std::size_t(t)]) continue;
        const int scrollRow = t > 3 ? t - 3 : 0;
        return Jump{t, scrollRow, !showsClearOfTheEdges(scrollRow, firstShown, shownCount)};
    }
    return std::nullopt;
}
