#include "platform/PlacingAgainWhenFramed.h"

#include <gtest/gtest.h>

#include <QWindow>
#include <memory>

#include "support/EventLoop.h"

namespace {

using platform::PlacingAgainWhenFramed;

// A top-level window on the offscreen platform, which frames a window as
// soon as it is made; calls to the placing again counted.
class PlacingAgain : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<QWindow>();
        window->setGeometry(200, 150, 320, 240);
        window->create();
    }
    PlacingAgainWhenFramed::PlaceAgain counting(int* calls) {
        return [this, calls](const QMargins& frame) {
            ++*calls;
            framesGiven.append(frame);
        };
    }
    void showAndSettle() {
        window->show();
        ASSERT_TRUE(testsupport::spinUntil([this] { return window->isExposed(); }));
        testsupport::drainMainQueue();
    }

    std::unique_ptr<QWindow> window;
    QList<QMargins> framesGiven;
};

TEST_F(PlacingAgain, OnceTheWindowIsOnTheScreenWithItsFrameAndNeverAgain) {
    int calls = 0;
    PlacingAgainWhenFramed::watch(window.get(), [&](const QMargins& frame) {
        ++calls;
        framesGiven.append(frame);
        // The placing's own move does not place it again.
        if (calls == 1) window->setFramePosition(QPoint(40, 30));
    });
    EXPECT_EQ(calls, 0);  // nothing before the window is on the screen
    showAndSettle();
    ASSERT_EQ(calls, 1);
    EXPECT_FALSE(framesGiven[0].isNull());
    EXPECT_EQ(framesGiven[0], window->frameMargins());
    EXPECT_EQ(window->framePosition(), QPoint(40, 30));

    // Moved by the user, hidden and shown again: left where it is.
    window->setFramePosition(QPoint(500, 400));
    testsupport::drainMainQueue();
    window->hide();
    showAndSettle();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(window->framePosition(), QPoint(500, 400));
}

TEST_F(PlacingAgain, AWindowHiddenBeforeItsFrameWasFoundIsNotPlacedAgainLater) {
    showAndSettle();
    int calls = 0;
    // Watched while no frame has been found, hidden before one is: as on a
    // display where no window manager frames windows, closed by the user.
    PlacingAgainWhenFramed::watch(window.get(), counting(&calls));
    window->hide();
    showAndSettle();
    window->setFramePosition(QPoint(60, 70));
    testsupport::drainMainQueue();
    EXPECT_EQ(calls, 0);
}

TEST_F(PlacingAgain, ALaterWatchTakesThePlaceOfAnEarlierOne) {
    int earlier = 0;
    int later = 0;
    PlacingAgainWhenFramed::watch(window.get(), counting(&earlier));
    PlacingAgainWhenFramed::watch(window.get(), counting(&later));
    showAndSettle();
    EXPECT_EQ(earlier, 0);
    EXPECT_EQ(later, 1);
}

TEST_F(PlacingAgain, AWindowThatGoesFirstEndsTheWatch) {
    // Watched once on the screen, before any frame was found (as where the
    // frame comes late): the watch waits for the window's next exposure or
    // move, and the window goes first.
    showAndSettle();
    int calls = 0;
    auto token = std::make_shared<int>();
    const std::weak_ptr<int> tokenHeld = token;
    PlacingAgainWhenFramed::watch(window.get(), [&calls, token](const QMargins&) { ++calls; });
    token.reset();
    ASSERT_TRUE(window->isExposed());
    ASSERT_FALSE(tokenHeld.expired());  // the watch is on and holds its placing

    window.reset();
    testsupport::drainMainQueue();

    EXPECT_EQ(calls, 0);
    // The watch ended with the window: its placing, and all it held, let go.
    EXPECT_TRUE(tokenHeld.expired());
}

}  // namespace
