#include "formatting/SCSubtitleColor.h"

namespace {

// Each component times 255, truncated and kept within a byte so every pair
// has two digits.
int byteOf(double component) {
    const double scaled = component * 255.0;
    if (!(scaled > 0.0)) return 0;  // also NaN
    if (scaled >= 255.0) return 255;
    return static_cast<int>(scaled);
}

bool isHexDigit(QChar c) {
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
}

bool isDecimal(const QString& text) {
    qsizetype start = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (start == text.size()) return false;
    for (qsizetype i = start; i < text.size(); ++i)
        if (text[i].unicode() < '0' || text[i].unicode() > '9') return false;
    return true;
}

}  // namespace

SCSubtitleColor::SCSubtitleColor(QObject* parent) : QObject(parent) {}

QString SCSubtitleColor::rawValue(colorCompnonents component) {
    switch (component) {
        case colorCompnonents::alpha:
            return QStringLiteral("alpha");
        case colorCompnonents::red:
            return QStringLiteral("red");
        case colorCompnonents::green:
            return QStringLiteral("green");
        case colorCompnonents::blue:
            return QStringLiteral("blue");
    }
    return {};
}

std::optional<quint32> SCSubtitleColor::colorValueFromString(const QString& text) {
    const QString t = text.trimmed();
    if (t.startsWith(QLatin1String("&H"))) {
        QStringView digits = QStringView(t).mid(2);
        if (digits.endsWith(QLatin1Char('&'))) digits.chop(1);
        if (digits.isEmpty() || digits.size() > 8) return std::nullopt;
        for (QChar c : digits)
            if (!isHexDigit(c)) return std::nullopt;
        bool ok = false;
        const uint value = digits.toUInt(&ok, 16);
        if (!ok) return std::nullopt;
        return static_cast<quint32>(value);
    }
    // SSA writes colours as plain decimal numbers, sometimes signed.
    if (!isDecimal(t)) return std::nullopt;
    bool ok = false;
    const qlonglong value = t.toLongLong(&ok, 10);
    if (!ok || value < -2147483648LL || value > 4294967295LL) return std::nullopt;
    return static_cast<quint32>(value);
}

double SCSubtitleColor::colorComponent(colorCompnonents component, const QString& fromHexString) {
    const auto value = colorValueFromString(fromHexString);
    if (!value) return 1.0;
    int shift = 0;
    switch (component) {
        case colorCompnonents::red:
            shift = 0;
            break;
        case colorCompnonents::green:
            shift = 8;
            break;
        case colorCompnonents::blue:
            shift = 16;
            break;
        case colorCompnonents::alpha:
            shift = 24;
            break;
    }
    return static_cast<double>((*value >> shift) & 0xffu) / 255.0;
}

void SCSubtitleColor::initializeFromHexString(const QString& text) {
    alphaFloat = colorComponent(colorCompnonents::alpha, text);
    redFloat = colorComponent(colorCompnonents::red, text);
    greenFloat = colorComponent(colorCompnonents::green, text);
    blueFloat = colorComponent(colorCompnonents::blue, text);
    oAlphaFloat = alphaFloat;
    oRedFloat = redFloat;
    oGreenFloat = greenFloat;
    oBlueFloat = blueFloat;
}

void SCSubtitleColor::resetToOriginal() {
    alphaFloat = oAlphaFloat;
    redFloat = oRedFloat;
    greenFloat = oGreenFloat;
    blueFloat = oBlueFloat;
}

void SCSubtitleColor::updateFromNSColor(const platform::RGBAColor& color) {
    redFloat = color.red;
    greenFloat = color.green;
    blueFloat = color.blue;
}

platform::RGBAColor SCSubtitleColor::toNSColor() const {
    return platform::RGBAColor::deviceRGB(redFloat, greenFloat, blueFloat, 1.0);
}

QString SCSubtitleColor::toHexString() const {
    return QStringLiteral("&H%1%2%3%4")
        .arg(byteOf(alphaFloat), 2, 16, QLatin1Char('0'))
        .arg(byteOf(blueFloat), 2, 16, QLatin1Char('0'))
        .arg(byteOf(greenFloat), 2, 16, QLatin1Char('0'))
        .arg(byteOf(redFloat), 2, 16, QLatin1Char('0'));
}
