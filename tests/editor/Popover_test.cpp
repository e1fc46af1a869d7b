#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QScreen>
#include <QTest>

#include "editor/EditorFixture.h"

using editortest::EditorTest;
using editortest::HostWindow;

namespace {

class Popover : public EditorTest {
  protected:
    // A document of three lines as a picture subtitle gives it: lines whose
    // pictures are given here (a null image: no picture).
    std::unique_ptr<SCViewControllerSRT> pictureView(const QList<QImage>& pictures) {
        auto view = shownView<SCViewControllerSRT>("lf.srt", subtitleTypes::srt);
        const SCSubtitleLineList lines = view->viewSubtitle()->subtitleLinesArray();
        for (qsizetype i = 0; i < pictures.size() && i < lines.size(); ++i)
            lines[i]->setDialogImage(pictures[i]);
        view->viewSubtitle()->setIsImageBased(true);
        return view;
    }
    static QImage filled(QSize size, Qt::GlobalColor colour) {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(colour);
        return picture;
    }
    static QAbstractButton* pictureButton(SCMainViewController& view) {
        return view.view()->findChild<QAbstractButton*>("imageSubButton");
    }
    static QAbstractButton* popoverButton(SCMainViewController& view, const char* name) {
        return view.imageSubPopover()->findChild<QAbstractButton*>(name);
    }
    static void click(QAbstractButton* button) {
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
    }
};

TEST_F(Popover, FramesZoomToggleAndAnchor) {
    host.window()->setGeometry(560, 0, 900, 560);
    auto view = pictureView({});
    ImageSubPopover* popover = view->imageSubPopover();
    const int height = view->imageSubView()->height();
    ASSERT_EQ(height, 402);
    const QRect zoomedIn(-50, height - 60 - 342, 608, 342);
    const QRect zoomedOut(66, height + 5 - 198, 352, 198);

    // Each click of a popover button acts once: Zoom switches the frame.
    click(pictureButton(*view));
    ASSERT_TRUE(popover->isShown());
    EXPECT_EQ(view->imageSubImageview()->geometry(), zoomedIn);
    click(popoverButton(*view, "zoomButton"));
    EXPECT_FALSE(view->imageSubViewIsZoomedIn());
    EXPECT_EQ(view->imageSubImageview()->geometry(), zoomedOut);
    click(popoverButton(*view, "zoomButton"));
    EXPECT_TRUE(view->imageSubViewIsZoomedIn());
    EXPECT_EQ(view->imageSubImageview()->geometry(), zoomedIn);
    click(popoverButton(*view, "zoomButton"));
    click(popoverButton(*view, "closeButton"));
    EXPECT_FALSE(popover->isShown());
    // Showing again keeps the zoomed-out frame.
    click(pictureButton(*view));
    ASSERT_TRUE(popover->isShown());
    EXPECT_EQ(view->imageSubImageview()->geometry(), zoomedOut);

    // It stands by the Picture button that showed it.
    EXPECT_EQ(view->imageSubPopoverAnchor(), pictureButton(*view));

    // Clicks elsewhere leave it open; the picture button closes it.
    QTest::mouseClick(view->dialogTextView()->viewport(), Qt::LeftButton);
    EXPECT_TRUE(popover->isShown());
    click(pictureButton(*view));
    EXPECT_FALSE(popover->isShown());
    EXPECT_EQ(popover->windowType(), Qt::Tool);
}

TEST_F(Popover, PictureButtonNeedsAPictureDocument) {
    struct Row {
        bool imageBased;
        bool enabled;
    };
    for (const Row row : {Row{false, false}, Row{true, true}}) {
        SCOPED_TRACE(row.imageBased);
        auto view = shownView<SCViewControllerSRT>("lf.srt", subtitleTypes::srt);
        view->viewSubtitle()->setIsImageBased(row.imageBased);
        EXPECT_EQ(pictureButton(*view)->isEnabled(), row.enabled);
        click(pictureButton(*view));
        EXPECT_EQ(view->imageSubPopover()->isShown(), row.enabled);
        // A text re-read of the document takes the button away again.
        view->viewSubtitle()->setIsImageBased(false);
        EXPECT_FALSE(pictureButton(*view)->isEnabled());
    }
    // The ASS layout's button follows the same rule.
    SCViewControllerASS ass;
    ass.setViewWindowController(&host);
    ass.setViewSubtitle(SCSubtitle::create());
    EXPECT_FALSE(pictureButton(ass)->isEnabled());
    ass.viewSubtitle()->setIsImageBased(true);
    EXPECT_TRUE(pictureButton(ass)->isEnabled());
}

TEST_F(Popover, ShowsTheSelectedLinesPictureOrTheFirstLines) {
    const QImage first = filled({60, 20}, Qt::blue);
    const QImage second = filled({40, 20}, Qt::red);
    auto view = pictureView({first, second});
    click(pictureButton(*view));
    ASSERT_TRUE(view->imageSubPopover()->isShown());
    // Nothing selected: the first line's picture, scaled into the frame
    // (zoomed in: 608 x 342) with its 3:1 kept.
    EXPECT_EQ(view->imageSubPopover()->picture(), first);
    EXPECT_EQ(view->imageSubImageview()->pixmap().size(), QSize(608, 202));
    QTest::mouseClick(
        view->subtitleTable()->viewport(), Qt::LeftButton, {},
        view->subtitleTable()->visualRect(view->subtitleTableController()->index(1, 1)).center());
    ASSERT_EQ(view->selectedRow(), 1);
    EXPECT_EQ(view->imageSubPopover()->picture(), second);
    EXPECT_EQ(view->imageSubImageview()->pixmap().size(), QSize(608, 304));
    selectRows(*view, {});
    EXPECT_EQ(view->imageSubPopover()->picture(), first);
    // A line without a picture shows none.
    view->viewSubtitle()->subtitleLinesArray()[1]->setDialogImage({});
    selectRows(*view, {1});
    EXPECT_TRUE(view->imageSubImageview()->pixmap().isNull());
}

TEST_F(Popover, AnOpeningPictureSubtitleFillsTheShownPopover) {
    // The popover opens before the import; the lines arrive while it shows.
    auto subtitle = SCSubtitle::create();
    subtitle->setIsImageBased(true);
    auto view = makeView<SCViewControllerSRT>(subtitle);
    host.show(view->view());
    view->showImageSubPopover();
    ASSERT_TRUE(view->imageSubPopover()->isShown());
    EXPECT_TRUE(view->imageSubImageview()->pixmap().isNull());
    const QImage picture = filled({40, 20}, Qt::green);
    SCSubtitleLineList lines =
        documenttest::loaded("lf.srt", subtitleTypes::srt)->subtitleLinesArray();
    lines.first()->setDialogImage(picture);
    subtitle->setSubtitleLinesArray(lines);
    EXPECT_EQ(view->imageSubPopover()->picture(), picture);
    EXPECT_FALSE(view->imageSubImageview()->pixmap().isNull());
}

TEST_F(Popover, EachWindowsPopoverStandsByItsOwnPictureButtonInsideTheScreen) {
    const QRect area = host.window()->screen()->availableGeometry();
    // Two document windows, the second low on the screen: there the popover
    // has no room under the button and stands over it.
    auto first = pictureView({});
    host.window()->setGeometry(area.left(), area.top(), 600, 420);
    HostWindow secondWindow;
    auto second = makeView<SCViewControllerSRT>(documenttest::loaded("lf.srt", subtitleTypes::srt));
    second->viewSubtitle()->setIsImageBased(true);
    secondWindow.show(second->view());
    secondWindow.window()->setGeometry(area.left() + 190, area.bottom() + 1 - 410, 600, 420);
    testsupport::drainMainQueue();
    const auto globalRect = [](QWidget* widget) {
        return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
    };
    struct Shown {
        SCMainViewController* view;
        bool under;
    };
    for (const Shown& shown : {Shown{first.get(), true}, Shown{second.get(), false}}) {
        SCOPED_TRACE(shown.under ? "first window" : "second window");
        click(pictureButton(*shown.view));
        ImageSubPopover* popover = shown.view->imageSubPopover();
        ASSERT_TRUE(popover->isShown());
        const QRect button = globalRect(pictureButton(*shown.view));
        const QRect placed = popover->geometry();
        EXPECT_TRUE(area.contains(placed)) << placed.x() << "," << placed.y();
        EXPECT_EQ(placed.right(), button.right());
        if (shown.under)
            EXPECT_EQ(placed.top(), button.bottom() + 3);
        else
            EXPECT_EQ(placed.bottom(), button.top() - 3);
    }
    EXPECT_NE(first->imageSubPopover()->pos(), second->imageSubPopover()->pos());

    // The popover goes along when its window moves.
    const QPoint before = first->imageSubPopover()->pos();
    host.window()->move(host.window()->pos() + QPoint(40, 30));
    testsupport::drainMainQueue();
    EXPECT_NE(first->imageSubPopover()->pos(), before);
    EXPECT_EQ(first->imageSubPopover()->geometry().right(),
              globalRect(pictureButton(*first)).right());
    EXPECT_EQ(first->imageSubPopover()->geometry().top(),
              globalRect(pictureButton(*first)).bottom() + 3);

    // A window reaching past the screen's edge keeps its popover inside.
    click(pictureButton(*first));
    host.window()->setGeometry(area.right() - 300, area.top(), 700, 500);
    click(pictureButton(*first));
    ASSERT_TRUE(first->imageSubPopover()->isShown());
    EXPECT_TRUE(area.contains(first->imageSubPopover()->geometry()));
    host.window()->setGeometry(area.left(), area.top(), 700, 500);
    testsupport::drainMainQueue();
    EXPECT_TRUE(area.contains(first->imageSubPopover()->geometry()));
    EXPECT_EQ(first->imageSubPopover()->geometry().right(),
              globalRect(pictureButton(*first)).right());
}

}  // namespace
