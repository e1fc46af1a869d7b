#pragma once

#include <QImage>
#include <QPointer>
#include <QRectF>
#include <QWidget>
#include <memory>

class QLabel;
namespace Ui {
class ImageSubPopover;
}

// The window that shows a picture line's image beside the Picture button: a
// frameless tool window that neither grabs the mouse nor takes the focus,
// so clicking elsewhere (the dialog editor, the table) leaves it open; its
// own buttons or the picture button close it. Its content view is a fixed
// 484 x 402 points; picture frames are given with a bottom-left origin and
// converted where used.
class ImageSubPopover : public QWidget {
    Q_OBJECT

  public:
    explicit ImageSubPopover(QWidget* parent);
    ~ImageSubPopover() override;

    QWidget* contentView() const;
    QLabel* imageView() const;

    bool isShown() const { return isVisible(); }
    // Shows the window beside the anchor widget: just under it, their right
    // edges in line, or just over it where the screen has no room below;
    // always inside the anchor's screen. While shown it follows the anchor
    // and its window as they move.
    void showBeside(QWidget* anchor);

    // Sets the picture's frame from a rectangle with a bottom-left origin
    // in the content view.
    void setImageFrame(const QRectF& bottomLeftFrame);
    void setPicture(const QImage& picture);

    // A bottom-left rectangle in a container of the given height, as Qt
    // places it (y' = height - y - h).
    static QRect flipped(const QRectF& bottomLeftRect, double containerHeight);

    const QImage& picture() const { return picture_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showPicture();
    // Moves the window to its place beside the anchor.
    void place();

    std::unique_ptr<Ui::ImageSubPopover> ui_;
    QPointer<QWidget> anchor_;
    QPointer<QWidget> anchorWindow_;
    QImage picture_;
    QWidget* content_;
};
