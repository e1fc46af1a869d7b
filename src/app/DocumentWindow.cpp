#include "app/DocumentWindow.h"

#include <QCloseEvent>
#include <QWindow>

#include "app/WindowDelegate.h"
#include "platform/PlacingAgainWhenFramed.h"
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
    if (windowHandle() == nullptr) create();
    resize(size().boundedTo(available.size().shrunkBy(frame)));
    const QSize outer = size().grownBy(frame);
    const QPoint topLeft = after != nullptr ? platform::WindowPlacement::cascade(
                                                  after->frameGeometry(), outer, available)
                                            : platform::WindowPlacement::centred(outer, available);
    // Until the window manager has framed this window its frame is taken to
    // be that of `after`; it is fitted again at the same point if its own
    // differs. Watched first: moving a window already framed fits it at once.
    platform::PlacingAgainWhenFramed::watch(windowHandle(),
                                            [this, available, frame, topLeft](const QMargins& own) {
                                                if (own != frame) fitIn(available, own, topLeft);
                                            });
    // A window's position is that of its frame, as far as it knows its
    // frame: before the window manager has framed it, the contents go there.
    const QMargins own = frameOf(*this);
    move(topLeft + QPoint(frame.left() - own.left(), frame.top() - own.top()));
}

void DocumentWindow::fitIn(const QRect& available, const QMargins& frame, const QPoint& topLeft) {
    resize(size().boundedTo(available.size().shrunkBy(frame)));
    move(platform::WindowPlacement::inside(QRect(topLeft, size().grownBy(frame)), available));
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
