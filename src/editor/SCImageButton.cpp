#include "editor/SCImageButton.h"

SCImageButton::SCImageButton(QWidget* parent) : QPushButton(parent) {}

void SCImageButton::resetCursorRects() {
    // A widget's cursor covers its whole rectangle.
    if (cursor_)
        QPushButton::setCursor(*cursor_);
    else
        unsetCursor();
}

void SCImageButton::showEvent(QShowEvent* event) {
    QPushButton::showEvent(event);
    resetCursorRects();
}

void SCImageButton::resizeEvent(QResizeEvent* event) {
    QPushButton::resizeEvent(event);
    resetCursorRects();
}
