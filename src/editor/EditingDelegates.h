#pragma once

#include <QString>

class QLineEdit;
class QPlainTextEdit;
class SCMainViewController;

// The editing view's answers to its fields and cell editors: a time field's
// change validated in its form and pushed to its value, and the two
// commands of a dialog cell editor that re-measure the row.
class EditingDelegates {
  public:
    static void controlTextDidChange(SCMainViewController& view, QLineEdit* field);
    static bool doCommandBy(SCMainViewController& view, QPlainTextEdit* textView,
                            const QString& command);
};
