#include "editor/ImageSubPopover.h"

#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "ui_ImageSubPopover.h"

ImageSubPopover::ImageSubPopover(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      ui_(std::make_unique<Ui::ImageSubPopover>()) {
    setObjectName(QStringLiteral("imageSubPopover"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    content_ = new QWidget(this);
    auto* content = content_;
    ui_->setupUi(content);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    ui_->zoomButton->raise();
    ui_->closeButton->raise();
    setFixedSize(content->minimumSize());
}

ImageSubPopover::~ImageSubPopover() = default;

QWidget* ImageSubPopover::contentView() const {
    return content_;
}

QLabel* ImageSubPopover::imageView() const {
    return ui_->imageSubImageview;
}

QRect ImageSubPopover::flipped(const QRectF& r, double containerHeight) {
    return QRectF(r.x(), containerHeight - r.y() - r.height(), r.width(), r.height()).toRect();
}

void ImageSubPopover::setImageFrame(const QRectF& bottomLeftFrame) {
    ui_->imageSubImageview->setGeometry(flipped(bottomLeftFrame, contentView()->height()));
    ui_->imageSubImageview->lower();
    showPicture();
}

void ImageSubPopover::setPicture(const QImage& picture) {
    picture_ = picture;
    showPicture();
}

void ImageSubPopover::showPicture() {
    // Scaled to the frame with its proportions kept, centred in it.
    QLabel* view = ui_->imageSubImageview;
    view->setPixmap(picture_.isNull()
                        ? QPixmap()
                        : QPixmap::fromImage(picture_.scaled(view->size(), Qt::KeepAspectRatio,
                                                             Qt::SmoothTransformation)));
}

void ImageSubPopover::showBeside(QWidget* anchor) {
    // Each document window's popover stands by that window's own control,
    // not by a place on the screen that every window's would share.
    for (QObject* watched : {static_cast<QObject*>(anchor_), static_cast<QObject*>(anchorWindow_)})
        if (watched) watched->removeEventFilter(this);
    anchor_ = anchor;
    anchorWindow_ = anchor ? anchor->window() : nullptr;
    for (QObject* watched : {static_cast<QObject*>(anchor_), static_cast<QObject*>(anchorWindow_)})
        if (watched) watched->installEventFilter(this);
    place();
    show();
    raise();
}

void ImageSubPopover::place() {
    if (!anchor_) return;
    constexpr int kGap = 2;
    const QRect button(anchor_->mapToGlobal(QPoint(0, 0)), anchor_->size());
    QPoint origin(button.right() + 1 - width(), button.bottom() + 1 + kGap);
    if (const QScreen* screen = anchor_->screen()) {
        const QRect area = screen->availableGeometry();
        const int over = button.top() - kGap - height();
        if (origin.y() + height() > area.bottom() + 1 && over >= area.top()) origin.setY(over);
        origin.setY(
            std::clamp(origin.y(), area.top(), std::max(area.top(), area.bottom() + 1 - height())));
        origin.setX(
            std::clamp(origin.x(), area.left(), std::max(area.left(), area.right() + 1 - width())));
    }
    move(origin);
}

bool ImageSubPopover::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (isVisible() && (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show))
        place();
    return QWidget::eventFilter(watched, event);
}
