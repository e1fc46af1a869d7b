#pragma once

class QWidget;
class SCMainViewController;

// Ties the editing view's plain controls to its observable properties, both
// ways: the encoding pop-up (`encodingNamesList`, `importEncoding`; every
// choice counts, the same name again included), the spell-check switch, the
// direction pop-up and the shown text of the time-adjust fields (which the
// view's validator writes back).
class ViewControlBindings {
  public:
    static void bind(SCMainViewController& controller, QWidget* view);
};
