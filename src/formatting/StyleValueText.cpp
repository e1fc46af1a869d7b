#include "formatting/StyleValueText.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace {

struct Scanned {
    qsizetype end = 0;  // one past the last character of the number
    bool hasDigits = false;
    double value = 0.0;
    qint64 integer = 0;
};

bool isAsciiDigit(QChar c) {
    return c.unicode() >= '0' && c.unicode() <= '9';
}

// Scans an optional sign, digits and, when allowed, a fraction from `start`.
Scanned scanNumber(const QString& text, qsizetype start, bool allowFraction) {
    Scanned s;
    qsizetype i = start;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) ++i;
    const qsizetype digitsStart = i;
    while (i < text.size() && isAsciiDigit(text[i])) ++i;
    const qsizetype integerEnd = i;
    s.hasDigits = integerEnd > digitsStart;
    if (allowFraction && i < text.size() && text[i] == QLatin1Char('.')) {
        qsizetype j = i + 1;
        while (j < text.size() && isAsciiDigit(text[j])) ++j;
        if (j > i + 1) {
            s.hasDigits = true;
            i = j;
        } else if (s.hasDigits) {
            i = j;  // "2." reads as 2
        }
    }
    if (!s.hasDigits) return s;
    s.end = i;
    const QString number = text.mid(start, i - start);
    s.value = number.toDouble();
    // Integers beyond 64 bits are held at the nearest end of the range.
    bool ok = false;
    const QString integerText = text.mid(start, integerEnd - start);
    s.integer = integerText.toLongLong(&ok);
    if (!ok && integerEnd > digitsStart)
        s.integer = integerText.startsWith(QLatin1Char('-')) ? std::numeric_limits<qint64>::min()
                                                             : std::numeric_limits<qint64>::max();
    return s;
}

qsizetype skipSpace(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace()) ++i;
    return i;
}

}  // namespace

qint64 StyleValueText::leadingInteger(const QString& text) {
    const Scanned s = scanNumber(text, skipSpace(text), false);
    return s.hasDigits ? s.integer : 0;
}

double StyleValueText::leadingNumber(const QString& text) {
    const Scanned s = scanNumber(text, skipSpace(text), true);
    return s.hasDigits && std::isfinite(s.value) ? s.value : 0.0;
}

std::optional<qint64> StyleValueText::plainInteger(const QString& text) {
    const Scanned s = scanNumber(text, 0, false);
    if (!s.hasDigits || s.end != text.size()) return std::nullopt;
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok) return std::nullopt;
    return value;
}

std::optional<double> StyleValueText::plainNumber(const QString& text) {
    const Scanned s = scanNumber(text, 0, true);
    if (!s.hasDigits || s.end != text.size() || !std::isfinite(s.value)) return std::nullopt;
    return s.value;
}

bool StyleValueText::isNumber(const QVariant& value) {
    switch (value.metaType().id()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::Short:
        case QMetaType::UShort:
            return true;
        default:
            return false;
    }
}

std::optional<double> StyleValueText::numberFromVariant(const QVariant& value) {
    if (isNumber(value)) {
        const double d = value.toDouble();
        if (std::isfinite(d)) return d;
        return std::nullopt;
    }
    if (value.metaType().id() == QMetaType::QString) return plainNumber(value.toString());
    return std::nullopt;
}

QString StyleValueText::shortestDecimal(double value) {
    if (!std::isfinite(value) || value == 0.0) return QStringLiteral("0");
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

// Nothing (a null value) written to a text field stores the empty text.
QString StyleValueText::textOf(const QVariant& value) {
    return value.isNull() ? QString() : value.toString();
}

std::optional<qint64> StyleValueText::integerOf(const QVariant& value) {
    if (value.metaType().id() == QMetaType::QString) return leadingInteger(value.toString());
    if (!isNumber(value)) return std::nullopt;
    const double d = value.toDouble();
    if (!std::isfinite(d)) return std::nullopt;
    if (d >= 9.2e18) return std::numeric_limits<qint64>::max();
    if (d <= -9.2e18) return std::numeric_limits<qint64>::min();
    return value.metaType().id() == QMetaType::Double ? static_cast<qint64>(d) : value.toLongLong();
}

std::optional<double> StyleValueText::numberOf(const QVariant& value) {
    if (value.metaType().id() == QMetaType::QString) return leadingNumber(value.toString());
    if (!isNumber(value)) return std::nullopt;
    const double d = value.toDouble();
    if (!std::isfinite(d)) return std::nullopt;
    return d;
}

std::optional<platform::RGBAColor> StyleValueText::colorOf(const QVariant& value) {
    if (value.canConvert<platform::RGBAColor>() &&
        value.metaType() == QMetaType::fromType<platform::RGBAColor>())
        return value.value<platform::RGBAColor>();
    if (value.metaType() == QMetaType::fromType<QColor>())
        return platform::RGBAColor::fromQColor(value.value<QColor>());
    return std::nullopt;
}
