#pragma once

#include <QMainWindow>

class WindowDelegate;

// A document window: a close by the user (its close button, Close, Quit)
// asks the window delegate first; a close by the program (`closeWindow`)
// does not. Either way the delegate is told before the window goes.
class DocumentWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit DocumentWindow(QWidget* parent = nullptr);

    void setWindowDelegate(WindowDelegate* delegate) { delegate_ = delegate; }
    WindowDelegate* windowDelegate() const { return delegate_; }

    // The program's own close: no question.
    void closeWindow();

    bool isClosed() const { return closed_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    WindowDelegate* delegate_ = nullptr;
    bool programClose_ = false;
    bool closed_ = false;
};
