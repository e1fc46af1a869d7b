#include "editor/ImagePopoverActions.h"

#include "editor/SCMainViewController.h"

QRect ImagePopoverActions::anchor(const SCMainViewController& view) {
    const QFrame* scroll = view.dialogScrollView();
    if (!scroll) return {};
    const QRect bounds = scroll->rect();
    const double h = bounds.height() * 2.0 / 3.0;
    return ImageSubPopover::flipped(QRectF(0.0, h, bounds.width(), 1.0), bounds.height());
}

void ImagePopoverActions::show(SCMainViewController& view) {
    ImageSubPopover* popover = view.imageSubPopover();
    if (!popover) return;
    if (popover->isShown()) {
        popover->close();
        return;
    }
    popover->setImageFrame(view.imageSubViewIsZoomedIn() ? view.zoomedInImageViewRect()
                                                         : view.zoomedOutImageViewRect());
    showSelectedPicture(view);
    popover->showRelativeToRect(anchor(view), view.dialogScrollView());
}

void ImagePopoverActions::toggleZoom(SCMainViewController& view) {
    ImageSubPopover* popover = view.imageSubPopover();
    if (!popover) return;
    view.setImageSubViewIsZoomedIn(!view.imageSubViewIsZoomedIn());
    popover->setImageFrame(view.imageSubViewIsZoomedIn() ? view.zoomedInImageViewRect()
                                                         : view.zoomedOutImageViewRect());
}

void ImagePopoverActions::showSelectedPicture(SCMainViewController& view) {
    if (!view.imageSubPopover()) return;
    const SCSubtitleLineList lines = view.selectedLines();
    view.imageSubPopover()->setPicture(lines.isEmpty() ? QImage() : lines.first()->dialogImage());
}
