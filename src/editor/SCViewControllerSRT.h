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

    // The rows the lines table shows, partly shown ones counted.
    std::pair<int, int> shownRows() const;

  public slots:
    void srtTestButton(QObject* sender = nullptr);
    void fixConflictsButton(QObject* sender = nullptr);
    void goToNextConflict(QObject* sender = nullptr);
    void goToPreviousConflict(QObject* sender = nullptr);

  protected:
    void setUpLayout(QWidget* view) override;
    void layoutDidLoad() override;

  private:
    void goToConflict(bool next);

    QPointer<QPushButton> testButton_;
};
