#include "SubtitlePicture.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace imagesubfixtures {

IndexedPicture drawSubtitleText(const QString& text, int pixelSize) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(pixelSize);
    const QFontMetrics metrics(font);
    const int margin = pixelSize / 4;
    const int width = text.isEmpty() ? 16 : metrics.horizontalAdvance(text) + 2 * margin;
    const int height = text.isEmpty() ? 4 : metrics.height() + 2 * margin;

    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    if (!text.isEmpty()) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addText(margin, margin + metrics.ascent(), font, text);
        painter.strokePath(path, QPen(Qt::black, pixelSize / 8.0));
        painter.fillPath(path, Qt::white);
    }

    IndexedPicture picture{width, height, QByteArray(width * height, char(kTransparent))};
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            if (qAlpha(row[x]) < 128) continue;
            picture.pixels[y * width + x] = char(qGray(row[x]) >= 128 ? kText : kOutline);
        }
    }
    return picture;
}

}  // namespace imagesubfixtures
