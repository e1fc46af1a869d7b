#include "app/DocumentWindow.h"

#include <QCloseEvent>
#include <QWindow>

#include "app/WindowDelegate.h"
#include "platform/WindowPlacement.h"

namespace {

// The title bar and borders around a window's contents.
QMargins frameOf(const QWidget& window) {
    const QRect inner = window.geometry();
    const QRect outer = window.frameGeometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

}  // namespace

DocumentWindow::DocumentWindow(QWidget* parent) : QMainWindow(parent) {}

void DocumentWindow::placeIn(const QRect& available, const QWidget* after) {
    const QMargins frame = after != nullptr ? frameOf(*after) : QMargins();
    // Set first: moving a window already framed fits it again at once.
    placedIn_ = available;
    assumedFrame_ = frame;
    if (windowHandle() == nullptr) create();
    windowHandle()->installEventFilter(this);
    resize(size().boundedTo(available.size().shrunkBy(frame)));
    const QSize outer = size().grownBy(frame);
    const QPoint topLeft = after != nullptr ? platform::WindowPlacement::cascade(
                                                  after->frameGeometry(), outer, available)
                                            : platform::WindowPlacement::centred(outer, available);
    // A window's position is that of its frame, as far as it knows its
    // frame: before the window manager has framed it, the contents go there.
    const QMargins own = frameOf(*this);
    move(topLeft + QPoint(frame.left() - own.left(), frame.top() - own.top()));
    placedAt_ = topLeft;
}

void DocumentWindow::fitIn(const QRect& available, const QMargins& frame) {
    resize(size().boundedTo(available.size().shrunkBy(frame)));
    move(platform::WindowPlacement::inside(QRect(placedAt_, size().grownBy(frame)), available));
}

bool DocumentWindow::eventFilter(QObject* watched, QEvent* event) {
    // The frame is known once the window is on the screen; no widget event
    // tells when it arrives.
    if (watched == windowHandle() && event->type() == QEvent::Expose) fitOnceFramed();
    return QMainWindow::eventFilter(watched, event);
}

void DocumentWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    fitOnceFramed();
}

void DocumentWindow::fitOnceFramed() {
    if (placedIn_.isNull() || !testAttribute(Qt::WA_WState_Created)) return;
    const QMargins frame = frameOf(*this);
    if (frame.isNull()) return;
    const QRect available = placedIn_;
    placedIn_ = QRect();
    windowHandle()->removeEventFilter(this);
    if (frame != assumedFrame_) fitIn(available, frame);
}

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
