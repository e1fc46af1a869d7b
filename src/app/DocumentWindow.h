#pragma once

#include <QMainWindow>
#include <QMargins>
#include <QPoint>
#include <QRect>

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

    // Sizes and places a window not yet shown in a screen's available area:
    // the whole frame inside it, so no larger (the lines table gives up
    // height first, being the part of the layout that stretches), one
    // cascade step from the frame of `after` when given, else centred. Until
    // the window manager has framed this window, its frame is taken to be
    // that of `after`; it is fitted again once its own is known.
    void placeIn(const QRect& available, const QWidget* after);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // Sizes the window to `available` and puts its frame at `topLeft`, or as
    // near as the area allows.
    void fitIn(const QRect& available, const QMargins& frame, const QPoint& topLeft);

    WindowDelegate* delegate_ = nullptr;
    bool programClose_ = false;
    bool closed_ = false;
};
