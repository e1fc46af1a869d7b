#include <gtest/gtest.h>

#include <QTest>

#include "editor/EditorFixture.h"

using editortest::EditorTest;

namespace {

class Popover : public EditorTest {};

TEST_F(Popover, FramesZoomToggleAndAnchor) {
    host.window()->setGeometry(560, 0, 900, 560);
    auto view = shownView<SCViewControllerSRT>("lf.srt", subtitleTypes::srt);
    ImageSubPopover* popover = view->imageSubPopover();
    const int height = view->imageSubView()->height();
    ASSERT_EQ(height, 402);

    view->showImageSubPopover();
    ASSERT_TRUE(popover->isShown());
    EXPECT_EQ(view->imageSubImageview()->geometry(), QRect(-50, height - 60 - 342, 608, 342));
    view->toggleImageSubPopoverZoom();
    EXPECT_FALSE(view->imageSubViewIsZoomedIn());
    EXPECT_EQ(view->imageSubImageview()->geometry(), QRect(66, height + 5 - 198, 352, 198));
    view->closeImageSubPopover();
    EXPECT_FALSE(popover->isShown());
    view->showImageSubPopover();
    EXPECT_EQ(view->imageSubImageview()->geometry(), QRect(66, height + 5 - 198, 352, 198));

    // A one-point strip across the scroll view a third from its top; the
    // popover stands to its left.
    QFrame* scroll = view->dialogScrollView();
    const QRect anchor = view->imageSubPopoverAnchor();
    EXPECT_EQ(anchor.height(), 1);
    EXPECT_EQ(anchor.width(), scroll->width());
    EXPECT_EQ(anchor.x(), 0);
    EXPECT_NEAR(anchor.y(), scroll->height() / 3.0 - 1.0, 0.5);
    const QPoint anchorGlobal = scroll->mapToGlobal(anchor.topLeft());
    EXPECT_EQ(popover->geometry().right() + 1, anchorGlobal.x());
    EXPECT_NEAR(popover->geometry().center().y(), anchorGlobal.y(), 1.0);

    // Clicks elsewhere leave it open; the picture button closes it.
    QTest::mouseClick(view->dialogTextView()->viewport(), Qt::LeftButton);
    EXPECT_TRUE(popover->isShown());
    view->showImageSubPopover();
    EXPECT_FALSE(popover->isShown());
    EXPECT_EQ(popover->windowType(), Qt::Tool);
}

TEST_F(Popover, ShowsTheSelectedLinesPicture) {
    auto view = shownView<SCViewControllerSRT>("lf.srt", subtitleTypes::srt);
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::red);
    view->viewSubtitle()->subtitleLinesArray()[1]->setDialogImage(picture);
    view->showImageSubPopover();
    EXPECT_TRUE(view->imageSubImageview()->pixmap().isNull());
    selectRows(*view, {1});
    EXPECT_EQ(view->imageSubPopover()->picture(), picture);
    // Zoomed in: 608 x 342, the picture's 2:1 kept.
    EXPECT_EQ(view->imageSubImageview()->pixmap().size(), QSize(608, 304));
    selectRows(*view, {});
    EXPECT_TRUE(view->imageSubImageview()->pixmap().isNull());
}

}  // namespace
