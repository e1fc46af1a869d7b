#pragma once

#include <QImage>
#include <QRect>

class SCMainViewController;

class QWidget;

// The picture popover's three actions and its anchor.
class ImagePopoverActions {
  public:
    // The view's Picture button, which shows and hides the popover (the
    // dialog scroll view in a layout without one).
    static QWidget* anchor(const SCMainViewController& view);
    // Shows the popover beside the anchor, or closes it when shown.
    static void show(SCMainViewController& view);
    static void toggleZoom(SCMainViewController& view);
    // Puts the picture to show into the popover while it is shown.
    static void showSelectedPicture(SCMainViewController& view);
    // The first selected line's picture; with no selection the first line's.
    static QImage pictureToShow(const SCMainViewController& view);
};
