#include "editor/ImagePopoverActions.h"

#include <QAbstractButton>

#include "editor/SCMainViewController.h"

QWidget* ImagePopoverActions::anchor(const SCMainViewController& view) {
    // The popover is a child of the view, as is the view's own button.
    const ImageSubPopover* popover = view.imageSubPopover();
    QWidget* root = popover ? popover->parentWidget() : nullptr;
    if (!root) return nullptr;
    if (auto* button = root->findChild<QAbstractButton*>(QStringLiteral("imageSubButton")))
        return button;
    return view.dialogScrollView();
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
    popover->showBeside(anchor(view));
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
