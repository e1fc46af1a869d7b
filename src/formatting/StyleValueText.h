#pragma once

#include <QString>
#include <QVariant>
#include <optional>

#include "platform/RGBAColor.h"

// How style values written by name from texts become numbers, and how
// numbers are written back into a style line.
class StyleValueText {
  public:
    // The integer a text begins with, after leading white space: an optional
    // sign and decimal digits ("12.5" gives 12); 0 when there is none.
    static qint64 leadingInteger(const QString& text);
    // The same with an optional fraction ("1.5" gives 1.5, ".5" gives 0.5).
    static double leadingNumber(const QString& text);

    // A text that is exactly an optional sign and decimal digits.
    static std::optional<qint64> plainInteger(const QString& text);
    // A text that is exactly a decimal number, fraction allowed.
    static std::optional<double> plainNumber(const QString& text);

    // A number, or a text holding exactly a number, as a double.
    static std::optional<double> numberFromVariant(const QVariant& value);

    // The shortest decimal text that reads back as the same value, without
    // exponent: 2 gives "2", 1.5 gives "1.5".
    static QString shortestDecimal(double value);

    static bool isNumber(const QVariant& value);

    // What a value written by name stores in a field of each kind; none when
    // the value has no usable form. Texts give their leading number.
    static QString textOf(const QVariant& value);
    static std::optional<qint64> integerOf(const QVariant& value);
    static std::optional<double> numberOf(const QVariant& value);
    static std::optional<platform::RGBAColor> colorOf(const QVariant& value);
};
