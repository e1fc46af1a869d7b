#pragma once

#include <gtest/gtest.h>

class QTableView;

namespace editortest {

// The lines of a picture that hold ink: the first and the last, -1 when none.
struct Ink {
    int top = -1;
    int bottom = -1;
    int height() const { return top < 0 ? 0 : bottom - top + 1; }
};

// The ink of the dialog cell of a row of the lines table as the table's own
// delegate draws it, at the Dialog column's width and the given height.
Ink dialogCellInk(QTableView* table, int row, int height);

// What the user sees of the row: drawn at the row's height, its dialog text
// shows all the ink it shows in a cell with room to spare, clear of the
// row's edges.
::testing::AssertionResult showsItsWholeDialog(QTableView* table, int row);

}  // namespace editortest
