#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <functional>

// Warning sheets on a document window: a window-modal QMessageBox that
// never blocks (open(), the answer comes back on `finished`). Buttons are
// added in order, the first one the default.
class SheetAlert {
  public:
    // The answer: the first button, the second, or none (the sheet ended by
    // its timer or with its window).
    enum Answer { firstButton = 1000, secondButton = 1001, noButton = 0 };

    // Shows the sheet on the window (a plain dialog when there is none).
    // With a positive timeout the sheet ends itself after that many seconds,
    // answering noButton; the timer ends only this sheet, only while it is
    // shown, and nothing once the window is gone.
    static QPointer<QMessageBox> begin(QWidget* window, const QString& message,
                                       const QString& informative, const QStringList& buttons,
                                       std::function<void(Answer)> completion,
                                       double timeoutSeconds = 0.0);

    // How long the questions wait for an answer: 10 seconds unless a test
    // shortens it.
    static double questionTimeout();
    static void setQuestionTimeout(double seconds);
};
