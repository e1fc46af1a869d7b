#include "platform/PlacingAgainWhenFramed.h"

#include <QEvent>
#include <QWindow>

namespace platform {

PlacingAgainWhenFramed::PlacingAgainWhenFramed(QWindow* window, PlaceAgain placeAgain)
    : QObject(window), window_(window), placeAgain_(std::move(placeAgain)) {
    window_->installEventFilter(this);
    // Told once the move has reached the window and whatever shows in it.
    connect(window_, &QWindow::xChanged, this, &PlacingAgainWhenFramed::lookForTheFrame);
    connect(window_, &QWindow::yChanged, this, &PlacingAgainWhenFramed::lookForTheFrame);
    connect(window_, &QWindow::visibleChanged, this, [this](bool visible) {
        if (!visible) end();
    });
}

void PlacingAgainWhenFramed::watch(QWindow* window, PlaceAgain placeAgain) {
    for (auto* earlier : window->findChildren<PlacingAgainWhenFramed*>(Qt::FindDirectChildrenOnly))
        earlier->end();
    new PlacingAgainWhenFramed(window, std::move(placeAgain));
}

bool PlacingAgainWhenFramed::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::Expose) lookForTheFrame();
    return QObject::eventFilter(watched, event);
}

void PlacingAgainWhenFramed::lookForTheFrame() {
    if (!placeAgain_) return;
    const QMargins frame = window_->frameMargins();
    if (frame.isNull()) return;
    // Ended first: placing the window again moves it.
    const PlaceAgain placeAgain = std::move(placeAgain_);
    end();
    placeAgain(frame);
}

void PlacingAgainWhenFramed::end() {
    placeAgain_ = nullptr;
    window_->removeEventFilter(this);
    disconnect(window_, nullptr, this, nullptr);
    deleteLater();
}

}  // namespace platform
