#pragma once

#include <QImage>
#include <QRectF>
#include <QWidget>
#include <memory>

class QLabel;
namespace Ui {
class ImageSubPopover;
}

// The window that shows a picture line's image beside the dialog editor: a
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
    // Shows the window beside the anchor (a rectangle of `ofView`, top-left
    // origin), to its left, centred on it vertically, kept on the screen.
    void showRelativeToRect(const QRect& anchor, QWidget* ofView);

    // Sets the picture's frame from a rectangle with a bottom-left origin
    // in the content view.
    void setImageFrame(const QRectF& bottomLeftFrame);
    void setPicture(const QImage& picture);

    // A bottom-left rectangle in a container of the given height, as Qt
    // places it (y' = height - y - h).
    static QRect flipped(const QRectF& bottomLeftRect, double containerHeight);

    const QImage& picture() const { return picture_; }

  private:
    void showPicture();

    std::unique_ptr<Ui::ImageSubPopover> ui_;
    QImage picture_;
    QWidget* content_;
};
