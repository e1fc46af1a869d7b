#pragma once

#include <QString>

class QObject;
class SCMainViewController;
class SCSubtitleLine;

// The editing view's actions on lines and styles, on the main thread: the
// markup buttons, moving between lines, including and excluding lines and
// styles, cleaning, the resets, and the time shift and stretch. Each does
// nothing when there is nothing to do.
class EditingActions {
  public:
    static void textStyleButtonClicked(SCMainViewController& view, QObject* sender);
    static void nextLine(SCMainViewController& view);
    static void previousLine(SCMainViewController& view);
    // After the row's check box wrote its line's `isExcluded`.
    static void excludeLineCheckBox(SCMainViewController& view, int row);
    // After the row's check box wrote its style's `theState`.
    static void includeStyleCheckBox(SCMainViewController& view, int row);
    static void allNoneStylesButton(SCMainViewController& view, const QString& title);
    static void cleanTextLine(SCMainViewController& view);
    static void cleanTextAll(SCMainViewController& view);
    static void resetLine(SCMainViewController& view, const QString& title);
    static void resetAll(SCMainViewController& view, const QString& title);
    static void timeShift(SCMainViewController& view);
    static void timeStretch(SCMainViewController& view);

    // The line's normal or grey display.
    static void switchDisplay(SCSubtitleLine& line, bool normal);
};
