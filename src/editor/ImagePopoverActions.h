#pragma once

#include <QRect>

class SCMainViewController;

// The picture popover's three actions and its anchor.
class ImagePopoverActions {
  public:
    // A one-point strip across the dialog scroll view, two thirds up from its
    // bottom, in the scroll view's own (top-left) coordinates.
    static QRect anchor(const SCMainViewController& view);
    // Shows the popover to the anchor's left, or closes it when shown.
    static void show(SCMainViewController& view);
    static void toggleZoom(SCMainViewController& view);
    // The first selected line's picture, or none.
    static void showSelectedPicture(SCMainViewController& view);
};
