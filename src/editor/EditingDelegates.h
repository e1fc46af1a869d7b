#pragma once

#include <QString>

class QLineEdit;
class QPlainTextEdit;
class SCMainViewController;

// The editing view's answers to its fields and cell editors: a time field's
// change validated in its form and pushed to its value, a time cell's edit
// given up, and the two commands of a dialog cell editor that re-measure the
// row.
class EditingDelegates {
  public:
    static void controlTextDidChange(SCMainViewController& view, QLineEdit* field);
    // Escape in a time cell of the lines table: every typed change already
    // reached the line, so the line gets back the time it had when the
    // cell's editing began (the number itself, not the cell's text of it),
    // and the conflict marks follow.
    static void timeCellEditCancelled(SCMainViewController& view, int row, int column,
                                      double secondsBefore);
    static bool doCommandBy(SCMainViewController& view, QPlainTextEdit* textView,
                            const QString& command);
};
