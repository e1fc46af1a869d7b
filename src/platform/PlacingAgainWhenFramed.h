#pragma once

#include <QMargins>
#include <QObject>
#include <functional>

class QWindow;

namespace platform {

// A top-level window placed before the window manager has framed it, placed
// again once it has. Under X11 a window learns its title bar and borders only
// once it is on the screen, and until then a move places its contents, not its
// frame. No event tells when the frame arrives: it is looked for each time the
// window is exposed or moves. The watch ends at the first frame found, or when
// the window is hidden first: a window that is never framed (no window
// manager, or one that draws no frames) keeps the place the user gives it,
// now and at later showings.
class PlacingAgainWhenFramed : public QObject {
    Q_OBJECT

  public:
    // Called once, with the window's frame (its title bar and borders).
    using PlaceAgain = std::function<void(const QMargins& frame)>;

    // Watches `window` (created) from now on, in place of any earlier watch
    // of it. The watch ends with the window if it goes first.
    static void watch(QWindow* window, PlaceAgain placeAgain);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    PlacingAgainWhenFramed(QWindow* window, PlaceAgain placeAgain);
    void lookForTheFrame();
    void end();

    QWindow* window_;
    PlaceAgain placeAgain_;
};

}  // namespace platform
