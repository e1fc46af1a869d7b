#pragma once

#include <optional>
#include <vector>

// Where the SRT view's next and previous conflict buttons go: the nearest
// conflict row below (above) the selected row, without wrapping, and the
// row to scroll to so that the target shows with three rows of context.
class ConflictNavigation {
  public:
    struct Jump {
        int target;     // the row to select
        int scrollRow;  // the row that must end up shown
        // False: the scroll row already shows clear of the edges; only select.
        bool jump;
    };

    // `marks[r]` tells whether row r is in conflict; `firstShown` and
    // `shownCount` are the rows the table shows, partly shown ones counted.
    static std::optional<Jump> next(int selectedRow, const std::vector<bool>& marks, int firstShown,
                                    int shownCount);
    static std::optional<Jump> previous(int selectedRow, const std::vector<bool>& marks,
                                        int firstShown, int shownCount);
};
