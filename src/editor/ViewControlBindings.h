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

    // Connects each button of the layout that names its action to the
    // view's slot of that name, the button being the sender. Controls name
    // their action by a dynamic "action" property holding the selector
    // ("cycleEncodingsButton:"); a control whose action is not (yet) a slot
    // of the view stays unconnected. The popover is a child of the view, so
    // its buttons are among these: each is connected once.
    static void connectActions(SCMainViewController& controller, QWidget* view);
};
