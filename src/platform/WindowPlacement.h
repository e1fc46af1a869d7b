#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace platform {

// Where top-level windows go on a screen: all in the screen's coordinates
// (y downwards) and on whole frames, title bar and borders included, within
// the screen's available area (the screen less the desktop's panels).
class WindowPlacement {
  public:
    // How far each new document window lies right of and below the last.
    static constexpr int kCascadeStep = 24;

    // The top-left at which `frame` lies inside `available`, moved as little
    // as it takes. A frame larger than the area keeps its top-left edges on
    // the area's, so that the title bar stays within reach.
    static QPoint inside(const QRect& frame, const QRect& available);

    // The top-left of a frame of this size centred in `available`, inside it.
    static QPoint centred(const QSize& frame, const QRect& available);

    // The top-left of a new frame of this size, one step down and right of
    // `previous`. Along an axis where it would leave `available` it starts
    // again at the area's edge.
    static QPoint cascade(const QRect& previous, const QSize& frame, const QRect& available);
};

}  // namespace platform
