#include <gtest/gtest.h>

#include <QTest>

#include "editor/SCImageButton.h"
#include "editor/SCTestView.h"

namespace {

TEST(SCImageButton, TakesItsCursorAtTheNextRebuild) {
    QWidget window;  // a top-level window keeps its cursor flag
    SCImageButton& button = *new SCImageButton(&window);
    window.show();
    EXPECT_FALSE(button.testAttribute(Qt::WA_SetCursor));
    button.setCursor(QCursor(Qt::PointingHandCursor));
    EXPECT_FALSE(button.testAttribute(Qt::WA_SetCursor));  // stored only
    button.resize(button.width() + 10, button.height());
    EXPECT_TRUE(button.testAttribute(Qt::WA_SetCursor));
    EXPECT_EQ(button.QWidget::cursor().shape(), Qt::PointingHandCursor);
    button.setCursor(std::nullopt);
    button.resize(button.width() + 10, button.height());
    EXPECT_FALSE(button.testAttribute(Qt::WA_SetCursor));  // the base's again
}

class PressCounter : public QWidget {
  public:
    int presses = 0;

  protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

TEST(SCTestView, SwallowsPresses) {
    PressCounter parent;
    auto* view = new SCTestView(&parent);
    view->setGeometry(10, 10, 50, 50);
    parent.resize(100, 100);
    parent.show();
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(&parent, Qt::LeftButton, {}, QPoint(80, 80));
    EXPECT_EQ(parent.presses, 1);
}

}  // namespace
