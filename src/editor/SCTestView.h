#pragma once

#include <QWidget>

// A plain view for trying out layouts: it draws like its base and swallows
// mouse presses, so none reaches the view behind it.
class SCTestView : public QWidget {
    Q_OBJECT

  public:
    using QWidget::QWidget;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
};
