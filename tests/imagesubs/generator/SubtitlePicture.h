#pragma once

#include <QByteArray>
#include <QString>

namespace imagesubfixtures {

// A subtitle picture reduced to a small palette: one byte per pixel, row by
// row, 0 transparent, 1 the text (white), 2 its outline (black).
struct IndexedPicture {
    int width = 0;
    int height = 0;
    QByteArray pixels;

    quint8 at(int x, int y) const { return static_cast<quint8>(pixels[y * width + x]); }
};

enum PictureColour : quint8 { kTransparent = 0, kText = 1, kOutline = 2 };

// The text drawn in DejaVu Sans Bold, white with a black outline, on a
// transparent picture just large enough for it. An empty text gives a small
// blank picture. Needs a QGuiApplication (the offscreen platform serves).
IndexedPicture drawSubtitleText(const QString& text, int pixelSize = 40);

}  // namespace imagesubfixtures
