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
    popover->setPicture(pictureToShow(view));
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
    // A hidden popover is filled when it is shown: pictures are not read for
    // a selection nobody looks at.
    ImageSubPopover* popover = view.imageSubPopover();
    if (!popover || !popover->isShown()) return;
    popover->setPicture(pictureToShow(view));
}

QImage ImagePopoverActions::pictureToShow(const SCMainViewController& view) {
    const SCSubtitleLineList selected = view.selectedLines();
    if (!selected.isEmpty()) return selected.first()->dialogImage();
    const SubtitleLinesTableModel* table = view.subtitleTableController();
    if (!table || table->lines().isEmpty()) return {};
    return table->lines().first()->dialogImage();
}
