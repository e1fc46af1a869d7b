#include "app/DocumentWindow.h"

#include <QCloseEvent>

#include "app/WindowDelegate.h"

DocumentWindow::DocumentWindow(QWidget* parent) : QMainWindow(parent) {}

void DocumentWindow::closeWindow() {
    programClose_ = true;
    close();
    programClose_ = false;
}

void DocumentWindow::closeEvent(QCloseEvent* event) {
    if (closed_) {
        event->accept();
        return;
    }
    if (!programClose_ && delegate_ != nullptr && !delegate_->windowShouldClose(this)) {
        event->ignore();
        return;
    }
    closed_ = true;
    event->accept();
    if (delegate_ != nullptr) delegate_->windowWillClose(this);
}
