#pragma once

#include <QPointer>
#include <QPushButton>

#include "editor/SCMainViewController.h"

// The SRT form of the editing view (layout "ViewSRT"): SRT texts, tags and
// times.
class SCViewControllerSRT : public SCMainViewController {
    Q_OBJECT

  public:
    explicit SCViewControllerSRT(QObject* parent = nullptr);

    QPushButton* testButton() const { return testButton_; }

  protected:
    void setUpLayout(QWidget* view) override;
    void layoutDidLoad() override;

  private:
    QPointer<QPushButton> testButton_;
};
