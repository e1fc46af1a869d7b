#pragma once

#include <QObject>
#include <QString>
#include <optional>

#include "platform/RGBAColor.h"

// One ASS colour: "&H" then alpha, blue, green and red as hexadecimal pairs,
// held as four components in 0.0…1.0 together with the components it was
// last loaded with, so that edits can be undone.
class SCSubtitleColor : public QObject {
    Q_OBJECT
    Q_PROPERTY(double alphaFloat MEMBER alphaFloat)
    Q_PROPERTY(double redFloat MEMBER redFloat)
    Q_PROPERTY(double greenFloat MEMBER greenFloat)
    Q_PROPERTY(double blueFloat MEMBER blueFloat)
    Q_PROPERTY(double oAlphaFloat MEMBER oAlphaFloat)
    Q_PROPERTY(double oRedFloat MEMBER oRedFloat)
    Q_PROPERTY(double oGreenFloat MEMBER oGreenFloat)
    Q_PROPERTY(double oBlueFloat MEMBER oBlueFloat)

  public:
    enum class colorCompnonents { alpha, red, green, blue };
    static QString rawValue(colorCompnonents component);

    explicit SCSubtitleColor(QObject* parent = nullptr);

    double alphaFloat = 0.0;
    double redFloat = 0.0;
    double greenFloat = 0.0;
    double blueFloat = 0.0;
    double oAlphaFloat = 0.0;
    double oRedFloat = 0.0;
    double oGreenFloat = 0.0;
    double oBlueFloat = 0.0;

    // The colour as a 32-bit AABBGGRR value: "&H" and 1 to 8 hexadecimal
    // digits (missing leading digits are 0, a trailing "&" is ignored), or a
    // decimal number as SSA files write colours. None for any other text.
    static std::optional<quint32> colorValueFromString(const QString& text);

    // One component of a colour text; 1.0 for every component of a text
    // that is no colour.
    static double colorComponent(colorCompnonents component, const QString& fromHexString);

    // Loads the current components and the originals.
    void initializeFromHexString(const QString& text);
    void resetToOriginal();
    // Red, green and blue from the colour; alpha and the originals stay.
    void updateFromNSColor(const platform::RGBAColor& color);
    // An opaque colour of the current red, green and blue.
    platform::RGBAColor toNSColor() const;
    // "&H" and lower-case alpha, blue, green and red pairs.
    QString toHexString() const;
};
