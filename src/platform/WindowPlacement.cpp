#include "platform/WindowPlacement.h"

#include <algorithm>

namespace platform {

namespace {

// The start along one axis of a length placed at `wanted` within
// [low, low + room): moved back inside, the low edge winning.
int clampedStart(int wanted, int length, int low, int room) {
    return std::max(low, std::min(wanted, low + room - length));
}

}  // namespace

QPoint WindowPlacement::inside(const QRect& frame, const QRect& available) {
    return {clampedStart(frame.x(), frame.width(), available.x(), available.width()),
            clampedStart(frame.y(), frame.height(), available.y(), available.height())};
}

QPoint WindowPlacement::centred(const QSize& frame, const QRect& available) {
    const QPoint wanted(available.x() + (available.width() - frame.width()) / 2,
                        available.y() + (available.height() - frame.height()) / 2);
    return inside(QRect(wanted, frame), available);
}

QPoint WindowPlacement::cascade(const QRect& previous, const QSize& frame, const QRect& available) {
    QPoint next = previous.topLeft() + QPoint(kCascadeStep, kCascadeStep);
    if (next.x() + frame.width() > available.x() + available.width()) next.setX(available.x());
    if (next.y() + frame.height() > available.y() + available.height()) next.setY(available.y());
    return inside(QRect(next, frame), available);
}

}  // namespace platform
