#pragma once

#include <QImage>
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
    // Puts the picture to show into the popover while it is shown.
    static void showSelectedPicture(SCMainViewController& view);
    // The first selected line's picture; with no selection the first line's.
    static QImage pictureToShow(const SCMainViewController& view);
};
