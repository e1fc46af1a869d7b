// Document windows on a 1366 x 768 screen: each fits it, and the windows
// opened one after the other cascade within it.
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <algorithm>

#include "AppFixture.h"
#include "app/SCMainWindowController.h"

namespace {

class WindowPlacing : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        startDelegate();
    }
};

TEST_F(WindowPlacing, NewWindowsFitTheScreenAndCascadeInsideIt) {
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_EQ(available, QRect(0, 0, 1366, 768));

    SCMainWindowController* controller = open(writeFile("first.srt", srtOfLines(40)));
    ASSERT_TRUE(waitForLines(controller, 40));
    QWidget* window = controller->window();
    QRect previous = window->frameGeometry();
    EXPECT_TRUE(available.contains(previous)) << previous.x() << "," << previous.y() << " "
                                              << previous.width() << "x" << previous.height();
    // The height came off the lines table; the dialog text keeps its own.
    const auto shown = [window](const char* name) {
        for (QWidget* widget : window->findChildren<QWidget*>(name))
            if (widget->isVisible()) return widget;
        return static_cast<QWidget*>(nullptr);
    };
    QWidget* dialog = shown("dialogScrollView");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->height(), dialog->maximumHeight());
    EXPECT_GT(shown("subtitleTable")->height(), 100);

    // Open… from the window opened last, a few times: enough for the
    // cascade to reach the screen's edge and start again.
    QList<QRect> frames{previous};
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        QTest::keyClick(delegate->openWindowControllers().last()->window(), Qt::Key_O,
                        Qt::ControlModifier);
        ASSERT_EQ(panels->pendingOpen.size(), 1u);
        panels->answerOpenPanel(true, writeFile(QString("next%1.srt").arg(i), srtOfLines(2)));
        ASSERT_EQ(delegate->openWindowControllers().size(), i + 2);

        const QRect frame = delegate->openWindowControllers().last()->window()->frameGeometry();
        EXPECT_TRUE(available.contains(frame)) << frame.x() << "," << frame.y();
        EXPECT_EQ(frame.size(), previous.size());
        // 24 right of and below the last window, showing its title bar and
        // left edge; along an axis without room for that, at the screen's
        // edge.
        EXPECT_TRUE(frame.x() == previous.x() + 24 || frame.x() == 0) << frame.x();
        EXPECT_TRUE(frame.y() == previous.y() + 24 || frame.y() == 0) << frame.y();
        // On top of none of the windows open.
        for (const QRect& earlier : frames)
            EXPECT_NE(frame.topLeft(), earlier.topLeft()) << frame.x() << "," << frame.y();
        frames.append(frame);
        previous = frame;
    }
    // The cascade came back to the left edge once, and not sooner than it
    // had to: the window before it had no room left for a step.
    const auto wrapped = std::find_if(frames.begin() + 1, frames.end(),
                                      [](const QRect& frame) { return frame.x() == 0; });
    ASSERT_NE(wrapped, frames.end());
    EXPECT_GT((wrapped - 1)->right() + 24, available.right());
}

}  // namespace
