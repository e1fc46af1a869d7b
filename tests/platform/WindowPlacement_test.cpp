#include "platform/WindowPlacement.h"

#include <gtest/gtest.h>

namespace {

using platform::WindowPlacement;

// A 1366 x 768 screen with a 28 high panel at its top.
const QRect kAvailable(0, 28, 1366, 740);

TEST(WindowPlacement, InsideMovesTheFrameBackOntoTheArea) {
    const struct {
        const char* name;
        QRect frame;
        QPoint expected;
    } cases[] = {
        {"already inside", QRect(100, 100, 560, 420), QPoint(100, 100)},
        {"below the bottom", QRect(100, 600, 560, 420), QPoint(100, 348)},
        {"far below", QRect(100, 5000, 560, 420), QPoint(100, 348)},
        {"past the right edge", QRect(1200, 100, 560, 420), QPoint(806, 100)},
        {"above, under the panel", QRect(-40, 0, 560, 420), QPoint(0, 28)},
        {"taller than the area", QRect(50, 90, 560, 900), QPoint(50, 28)},
        {"wider than the area", QRect(50, 90, 1400, 420), QPoint(0, 90)},
        {"exactly the area", QRect(0, 28, 1366, 740), QPoint(0, 28)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WindowPlacement::inside(c.frame, kAvailable), c.expected) << c.name;
}

TEST(WindowPlacement, CentredInTheArea) {
    EXPECT_EQ(WindowPlacement::centred(QSize(560, 420), kAvailable), QPoint(403, 188));
    EXPECT_EQ(WindowPlacement::centred(QSize(1366, 740), kAvailable), QPoint(0, 28));
    EXPECT_EQ(WindowPlacement::centred(QSize(2000, 900), kAvailable), QPoint(0, 28));
    EXPECT_EQ(WindowPlacement::centred(QSize(100, 100), QRect(1366, 0, 1920, 1080)),
              QPoint(2276, 490));
}

TEST(WindowPlacement, CascadeStepsAndWrapsInsideTheArea) {
    const QSize frame(1084, 712);
    const struct {
        const char* name;
        QRect previous;
        QPoint expected;
    } cases[] = {
        {"room for a step", QRect(0, 28, 1084, 500), QPoint(24, 52)},
        {"down wraps to the top", QRect(0, 40, 1084, 712), QPoint(24, 28)},
        {"right wraps to the left", QRect(270, 28, 1084, 500), QPoint(0, 52)},
        {"both wrap", QRect(282, 40, 1084, 712), QPoint(0, 28)},
        {"a last window off the area", QRect(-500, 3000, 1084, 712), QPoint(0, 28)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WindowPlacement::cascade(c.previous, frame, kAvailable), c.expected) << c.name;

    // Every window of a long cascade lies inside the area.
    QRect last(QPoint(0, 28), frame);
    for (int i = 0; i < 40; ++i) {
        last = QRect(WindowPlacement::cascade(last, frame, kAvailable), frame);
        EXPECT_TRUE(kAvailable.contains(last)) << i;
    }
}

}  // namespace
