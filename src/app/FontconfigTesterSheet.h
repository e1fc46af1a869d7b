#pragma once

#include <QDialog>
#include <QPointer>
#include <QWidget>
#include <memory>

#include "tools/ProgressSheet.h"

// The font-cache test's busy window ("FontconfigTester", with the busy bar
// `theProgress`), modal to the document window it is shown over. Gone with
// its window: a sheet whose window has closed shows nothing.
class FontconfigTesterSheet : public ProgressSheet {
  public:
    explicit FontconfigTesterSheet(QWidget* window);
    ~FontconfigTesterSheet() override;

    void begin() override;
    void end() override;

    QDialog* dialog() const { return dialog_; }

  private:
    QPointer<QWidget> window_;
    QPointer<QDialog> dialog_;
};
