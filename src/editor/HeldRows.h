#pragma once

#include <algorithm>

// The first and last of the rows noted while the table's work is held back,
// to be done once for all of them when it is released.
struct HeldRows {
    int first = -1, last = -1;
    void include(int row) {
        first = first < 0 ? row : std::min(first, row);
        last = std::max(last, row);
    }
};
