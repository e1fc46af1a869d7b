#pragma once

class QWidget;

// Answers for a document window when it is asked to close and when it
// closes. The application delegate is the delegate of every document window.
class WindowDelegate {
  public:
    virtual ~WindowDelegate() = default;

    // Asked only for the user's own close requests.
    virtual bool windowShouldClose(QWidget* window) = 0;
    // Told for every close, the user's or the program's.
    virtual void windowWillClose(QWidget* window) = 0;
};
