#pragma once

#include <QWidget>

// Holds a widget's drawing back while it lives, then puts the widget's own
// setting back: rows resized with updates on would each repaint the table.
class UpdatesSuspended {
  public:
    explicit UpdatesSuspended(QWidget* widget)
        : widget_(widget), wasEnabled_(widget->updatesEnabled()) {
        widget_->setUpdatesEnabled(false);
    }
    ~UpdatesSuspended() { widget_->setUpdatesEnabled(wasEnabled_); }
    UpdatesSuspended(const UpdatesSuspended&) = delete;
    UpdatesSuspended& operator=(const UpdatesSuspended&) = delete;

  private:
    QWidget* widget_;
    bool wasEnabled_;
};
