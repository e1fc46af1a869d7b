#pragma once

#include <QColor>
#include <QMetaType>
#include <QObject>

namespace platform {

// A colour as four floating-point components in device RGB, each meant to lie
// in 0.0…1.0. Components are kept as given; nothing is clamped here.
struct RGBAColor {
    Q_GADGET
    Q_PROPERTY(double red MEMBER red)
    Q_PROPERTY(double green MEMBER green)
    Q_PROPERTY(double blue MEMBER blue)
    Q_PROPERTY(double alpha MEMBER alpha)

  public:
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
    double alpha = 1.0;

    static RGBAColor deviceRGB(double red, double green, double blue, double alpha = 1.0) {
        return RGBAColor{red, green, blue, alpha};
    }
    // The platform's standard blue and light grey.
    static RGBAColor blueColor() { return RGBAColor{0.0, 0.0, 1.0, 1.0}; }
    static RGBAColor lightGrayColor() { return RGBAColor{2.0 / 3.0, 2.0 / 3.0, 2.0 / 3.0, 1.0}; }

    QColor toQColor() const { return QColor::fromRgbF(red, green, blue, alpha); }
    static RGBAColor fromQColor(const QColor& color) {
        const QColor rgb = color.toRgb();
        return RGBAColor{rgb.redF(), rgb.greenF(), rgb.blueF(), rgb.alphaF()};
    }

    friend bool operator==(const RGBAColor&, const RGBAColor&) = default;
};

}  // namespace platform

Q_DECLARE_METATYPE(platform::RGBAColor)
