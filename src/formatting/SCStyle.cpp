#include "formatting/SCStyle.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>
#include <optional>

#include "formatting/StyleKeys.h"
#include "formatting/StyleLineReader.h"
#include "formatting/StyleValueText.h"
#include "platform/MainQueue.h"

// Every assignment notifies, whether or not the value changed.
#define QUILLMAR_STYLE_SETTER(setter, field, Type) \
    void SCStyle::setter(Type value) {             \
        field##_ = value;                          \
        emit field##Changed();                     \
    }

QUILLMAR_STYLE_SETTER(setTheState, theState, bool)
QUILLMAR_STYLE_SETTER(setName, Name, const QString&)
QUILLMAR_STYLE_SETTER(setFontname, Fontname, const QString&)
QUILLMAR_STYLE_SETTER(setFontsize, Fontsize, double)
QUILLMAR_STYLE_SETTER(setPrimaryColour, PrimaryColour, const QString&)
QUILLMAR_STYLE_SETTER(setSecondaryColour, SecondaryColour, const QString&)
QUILLMAR_STYLE_SETTER(setOutlineColour, OutlineColour, const QString&)
QUILLMAR_STYLE_SETTER(setBackColour, BackColour, const QString&)
QUILLMAR_STYLE_SETTER(setBold, Bold, const QString&)
QUILLMAR_STYLE_SETTER(setItalic, Italic, const QString&)
QUILLMAR_STYLE_SETTER(setUnderline, Underline, const QString&)
QUILLMAR_STYLE_SETTER(setStrikeOut, StrikeOut, const QString&)
QUILLMAR_STYLE_SETTER(setScaleX, ScaleX, double)
QUILLMAR_STYLE_SETTER(setScaleY, ScaleY, double)
QUILLMAR_STYLE_SETTER(setSpacing, Spacing, double)
QUILLMAR_STYLE_SETTER(setAngle, Angle, double)
QUILLMAR_STYLE_SETTER(setBorderStyle, BorderStyle, qint64)
QUILLMAR_STYLE_SETTER(setOutline, Outline, double)
QUILLMAR_STYLE_SETTER(setShadow, Shadow, double)
QUILLMAR_STYLE_SETTER(setAlignment, Alignment, const QString&)
QUILLMAR_STYLE_SETTER(setMarginL, MarginL, qint64)
QUILLMAR_STYLE_SETTER(setMarginR, MarginR, qint64)
QUILLMAR_STYLE_SETTER(setMarginV, MarginV, qint64)
QUILLMAR_STYLE_SETTER(setEncoding, Encoding, const QString&)
QUILLMAR_STYLE_SETTER(setPrimaryColorNSColor, primaryColorNSColor, const platform::RGBAColor&)
QUILLMAR_STYLE_SETTER(setSecondaryColorNSColor, secondaryColorNSColor, const platform::RGBAColor&)
QUILLMAR_STYLE_SETTER(setOutlineColorNSColor, outlineColorNSColor, const platform::RGBAColor&)
QUILLMAR_STYLE_SETTER(setBackColorNSColor, backColorNSColor, const platform::RGBAColor&)

#undef QUILLMAR_STYLE_SETTER

SCStyle::SCStyle(QObject* parent)
    : QObject(parent),
      Name_(QStringLiteral("Default")),
      Fontname_(QStringLiteral("Arial")),
      Fontsize_(30),
      PrimaryColour_(QStringLiteral("&H00FFFFFF")),
      SecondaryColour_(QStringLiteral("&H0000FFFF")),
      OutlineColour_(QStringLiteral("&H00000000")),
      BackColour_(QStringLiteral("&H00000000")),
      Bold_(QStringLiteral("-1")),
      Italic_(QStringLiteral("0")),
      Underline_(QStringLiteral("0")),
      StrikeOut_(QStringLiteral("0")),
      ScaleX_(100),
      ScaleY_(100),
      Spacing_(0),
      Angle_(0),
      BorderStyle_(1),
      Outline_(2),
      Shadow_(1),
      Alignment_(QStringLiteral("2")),
      MarginL_(20),
      MarginR_(20),
      MarginV_(20),
      Encoding_(QStringLiteral("0")),
      primaryColorSCSubtitleColor_(new SCSubtitleColor(this)),
      secondaryColorSCSubtitleColor_(new SCSubtitleColor(this)),
      outlineColorSCSubtitleColor_(new SCSubtitleColor(this)),
      backColorSCSubtitleColor_(new SCSubtitleColor(this)) {
    for (const QString& key : assOrderedStyleKeys())
        assStyleDictionary_.insert(key, valueForKey(key));
    initializeColorProperties();
    // A style made on a loading thread has its values applied, and is
    // observed, on the main thread; only the creating thread may move it.
    auto* app = QCoreApplication::instance();
    if (parent == nullptr && app != nullptr && thread() != app->thread())
        moveToThread(app->thread());
}

const QStringList& SCStyle::assOrderedStyleKeys() {
    static const QStringList keys{
        "Name",       "Fontname", "Fontsize", "PrimaryColour", "SecondaryColour", "OutlineColour",
        "BackColour", "Bold",     "Italic",   "Underline",     "StrikeOut",       "ScaleX",
        "ScaleY",     "Spacing",  "Angle",    "BorderStyle",   "Outline",         "Shadow",
        "Alignment",  "MarginL",  "MarginR",  "MarginV",       "Encoding"};
    return keys;
}

QVariant SCStyle::valueForKey(const QString& key) const {
    const auto k = StyleKeys::keyFor(key);
    if (!k) return {};
    // clang-format off
    switch (*k) {
        case StyleKeys::Key::Name: return Name_;
        case StyleKeys::Key::Fontname: return Fontname_;
        case StyleKeys::Key::Fontsize: return Fontsize_;
        case StyleKeys::Key::PrimaryColour: return PrimaryColour_;
        case StyleKeys::Key::SecondaryColour: return SecondaryColour_;
        case StyleKeys::Key::OutlineColour: return OutlineColour_;
        case StyleKeys::Key::BackColour: return BackColour_;
        case StyleKeys::Key::Bold: return Bold_;
        case StyleKeys::Key::Italic: return Italic_;
        case StyleKeys::Key::Underline: return Underline_;
        case StyleKeys::Key::StrikeOut: return StrikeOut_;
        case StyleKeys::Key::ScaleX: return ScaleX_;
        case StyleKeys::Key::ScaleY: return ScaleY_;
        case StyleKeys::Key::Spacing: return Spacing_;
        case StyleKeys::Key::Angle: return Angle_;
        case StyleKeys::Key::BorderStyle: return BorderStyle_;
        case StyleKeys::Key::Outline: return Outline_;
        case StyleKeys::Key::Shadow: return Shadow_;
        case StyleKeys::Key::Alignment: return Alignment_;
        case StyleKeys::Key::MarginL: return MarginL_;
        case StyleKeys::Key::MarginR: return MarginR_;
        case StyleKeys::Key::MarginV: return MarginV_;
        case StyleKeys::Key::Encoding: return Encoding_;
        case StyleKeys::Key::theState: return theState_;
        case StyleKeys::Key::assStyleDictionary: return assStyleDictionary_;
        case StyleKeys::Key::assOrderedStyleKeys: return assOrderedStyleKeys();
        case StyleKeys::Key::assStyleFormatString: return assStyleFormatString();
        case StyleKeys::Key::assStyleString: return assStyleString();
        case StyleKeys::Key::primaryColorSCSubtitleColor: return QVariant::fromValue(primaryColorSCSubtitleColor_);
        case StyleKeys::Key::secondaryColorSCSubtitleColor: return QVariant::fromValue(secondaryColorSCSubtitleColor_);
        case StyleKeys::Key::outlineColorSCSubtitleColor: return QVariant::fromValue(outlineColorSCSubtitleColor_);
        case StyleKeys::Key::backColorSCSubtitleColor: return QVariant::fromValue(backColorSCSubtitleColor_);
        case StyleKeys::Key::primaryColorNSColor: return QVariant::fromValue(primaryColorNSColor_);
        case StyleKeys::Key::secondaryColorNSColor: return QVariant::fromValue(secondaryColorNSColor_);
        case StyleKeys::Key::outlineColorNSColor: return QVariant::fromValue(outlineColorNSColor_);
        case StyleKeys::Key::backColorNSColor: return QVariant::fromValue(backColorNSColor_);
    }
    // clang-format on
    return {};
}

bool SCStyle::setValueForKey(const QString& key, const QVariant& value) {
    const auto k = StyleKeys::keyFor(key);
    if (!k) return false;
    const auto setText = [&](void (SCStyle::*setter)(const QString&)) {
        (this->*setter)(StyleValueText::textOf(value));
        return true;
    };
    const auto setInteger = [&](void (SCStyle::*setter)(qint64)) {
        const auto n = StyleValueText::integerOf(value);
        if (n) (this->*setter)(*n);
        return n.has_value();
    };
    const auto setNumber = [&](void (SCStyle::*setter)(double)) {
        const auto n = StyleValueText::numberOf(value);
        if (n) (this->*setter)(*n);
        return n.has_value();
    };
    const auto setMirror = [&](void (SCStyle::*setter)(const platform::RGBAColor&)) {
        const auto c = StyleValueText::colorOf(value);
        if (c) (this->*setter)(*c);
        return c.has_value();
    };
    // A colour object is the style's own; a write copies the components.
    const auto setColorObject = [&](SCSubtitleColor* target) {
        auto* source = qobject_cast<SCSubtitleColor*>(value.value<QObject*>());
        if (source == nullptr) return false;
        for (const char* name : {"alphaFloat", "redFloat", "greenFloat", "blueFloat", "oAlphaFloat",
                                 "oRedFloat", "oGreenFloat", "oBlueFloat"})
            target->setProperty(name, source->property(name));
        return true;
    };
    // clang-format off
    switch (*k) {
        case StyleKeys::Key::Name: return setText(&SCStyle::setName);
        case StyleKeys::Key::Fontname: return setText(&SCStyle::setFontname);
        case StyleKeys::Key::Fontsize: return setNumber(&SCStyle::setFontsize);
        case StyleKeys::Key::PrimaryColour: return setText(&SCStyle::setPrimaryColour);
        case StyleKeys::Key::SecondaryColour: return setText(&SCStyle::setSecondaryColour);
        case StyleKeys::Key::OutlineColour: return setText(&SCStyle::setOutlineColour);
        case StyleKeys::Key::BackColour: return setText(&SCStyle::setBackColour);
        case StyleKeys::Key::Bold: return setText(&SCStyle::setBold);
        case StyleKeys::Key::Italic: return setText(&SCStyle::setItalic);
        case StyleKeys::Key::Underline: return setText(&SCStyle::setUnderline);
        case StyleKeys::Key::StrikeOut: return setText(&SCStyle::setStrikeOut);
        case StyleKeys::Key::ScaleX: return setNumber(&SCStyle::setScaleX);
        case StyleKeys::Key::ScaleY: return setNumber(&SCStyle::setScaleY);
        case StyleKeys::Key::Spacing: return setNumber(&SCStyle::setSpacing);
        case StyleKeys::Key::Angle: return setNumber(&SCStyle::setAngle);
        case StyleKeys::Key::BorderStyle: return setInteger(&SCStyle::setBorderStyle);
        case StyleKeys::Key::Outline: return setNumber(&SCStyle::setOutline);
        case StyleKeys::Key::Shadow: return setNumber(&SCStyle::setShadow);
        case StyleKeys::Key::Alignment: return setText(&SCStyle::setAlignment);
        case StyleKeys::Key::MarginL: return setInteger(&SCStyle::setMarginL);
        case StyleKeys::Key::MarginR: return setInteger(&SCStyle::setMarginR);
        case StyleKeys::Key::MarginV: return setInteger(&SCStyle::setMarginV);
        case StyleKeys::Key::Encoding: return setText(&SCStyle::setEncoding);
        case StyleKeys::Key::theState:
            if (!value.canConvert<bool>() || value.isNull()) return false;
            setTheState(value.toBool());
            return true;
        case StyleKeys::Key::assStyleDictionary:
            if (value.metaType() != QMetaType::fromType<QVariantMap>()) return false;
            assStyleDictionary_ = value.toMap();
            return true;
        case StyleKeys::Key::assOrderedStyleKeys:
        case StyleKeys::Key::assStyleFormatString:
        case StyleKeys::Key::assStyleString: return false;  // read-only
        case StyleKeys::Key::primaryColorSCSubtitleColor: return setColorObject(primaryColorSCSubtitleColor_);
        case StyleKeys::Key::secondaryColorSCSubtitleColor: return setColorObject(secondaryColorSCSubtitleColor_);
        case StyleKeys::Key::outlineColorSCSubtitleColor: return setColorObject(outlineColorSCSubtitleColor_);
        case StyleKeys::Key::backColorSCSubtitleColor: return setColorObject(backColorSCSubtitleColor_);
        case StyleKeys::Key::primaryColorNSColor: return setMirror(&SCStyle::setPrimaryColorNSColor);
        case StyleKeys::Key::secondaryColorNSColor: return setMirror(&SCStyle::setSecondaryColorNSColor);
        case StyleKeys::Key::outlineColorNSColor: return setMirror(&SCStyle::setOutlineColorNSColor);
        case StyleKeys::Key::backColorNSColor: return setMirror(&SCStyle::setBackColorNSColor);
    }
    // clang-format on
    return false;
}

QVariantMap SCStyle::dictionaryWithValuesForKeys(const QStringList& keys) const {
    QVariantMap values;
    for (const QString& key : keys) {
        QVariant value = valueForKey(key);
        if (value.isValid()) values.insert(key, value);
    }
    return values;
}

bool SCStyle::setValuesForKeysWithDictionary(const QVariantMap& values) {
    bool all = true;
    for (auto it = values.constBegin(); it != values.constEnd(); ++it)
        all = setValueForKey(it.key(), it.value()) && all;
    return all;
}

template <typename Change>
void SCStyle::forEachColour(Change change) {
    // Primary, secondary, outline, back: the colour object changes, then the
    // mirror shows it, opaque.
    const struct {
        SCSubtitleColor* object;
        const QString& text;
        void (SCStyle::*setMirror)(const platform::RGBAColor&);
    } colours[] = {
        {primaryColorSCSubtitleColor_, PrimaryColour_, &SCStyle::setPrimaryColorNSColor},
        {secondaryColorSCSubtitleColor_, SecondaryColour_, &SCStyle::setSecondaryColorNSColor},
        {outlineColorSCSubtitleColor_, OutlineColour_, &SCStyle::setOutlineColorNSColor},
        {backColorSCSubtitleColor_, BackColour_, &SCStyle::setBackColorNSColor},
    };
    for (const auto& colour : colours) {
        change(colour.object, colour.text);
        (this->*colour.setMirror)(colour.object->toNSColor());
    }
}

void SCStyle::initializeColorProperties() {
    forEachColour([](SCSubtitleColor* object, const QString& text) {
        object->initializeFromHexString(text);
    });
}

void SCStyle::resetStyleColorsToOriginal() {
    forEachColour([](SCSubtitleColor* object, const QString&) { object->resetToOriginal(); });
    // A snapshot entry that is no plain number leaves its field as it is.
    if (const auto n = StyleValueText::numberFromVariant(assStyleDictionary_.value("Outline")))
        setOutline(*n);
    if (const auto n = StyleValueText::numberFromVariant(assStyleDictionary_.value("Shadow")))
        setShadow(*n);
}

void SCStyle::resetFontsToOriginal() {
    setFontname(assStyleDictionary_.value("Fontname").toString());
    if (const auto n = StyleValueText::numberFromVariant(assStyleDictionary_.value("Fontsize")))
        setFontsize(*n);
    setBold(assStyleDictionary_.value("Bold").toString());
    setItalic(assStyleDictionary_.value("Italic").toString());
    setUnderline(assStyleDictionary_.value("Underline").toString());
}

QString SCStyle::assStyleFormatString() {
    return QStringLiteral("Format: ") + assOrderedStyleKeys().join(QStringLiteral(", "));
}

QString SCStyle::assStyleString() const {
    const auto colour = [](SCSubtitleColor* object, const platform::RGBAColor& mirror) {
        object->updateFromNSColor(mirror);
        return object->toHexString();
    };
    const auto number = [](double value) { return StyleValueText::shortestDecimal(value); };
    const QStringList values{
        Name_,
        Fontname_,
        number(Fontsize_),
        colour(primaryColorSCSubtitleColor_, primaryColorNSColor_),
        colour(secondaryColorSCSubtitleColor_, secondaryColorNSColor_),
        colour(outlineColorSCSubtitleColor_, outlineColorNSColor_),
        colour(backColorSCSubtitleColor_, backColorNSColor_),
        Bold_,
        Italic_,
        Underline_,
        StrikeOut_,
        number(ScaleX_),
        number(ScaleY_),
        number(Spacing_),
        number(Angle_),
        QString::number(BorderStyle_),
        number(Outline_),
        number(Shadow_),
        Alignment_,
        QString::number(MarginL_),
        QString::number(MarginR_),
        QString::number(MarginV_),
        Encoding_,
    };
    return QStringLiteral("Style: ") + values.join(QLatin1Char(','));
}

resultTypes SCStyle::intitializeWithFormatString(const QString& formatString,
                                                 const QString& andStyleString,
                                                 const QString& withStyleHeader) {
    const auto values =
        StyleLineReader::read(formatString, andStyleString, withStyleHeader,
                              [this](const QString& key) { return valueForKey(key); });
    if (!values) return resultTypes::error;
    assStyleDictionary_ = *values;
    // Observers live on the main thread; the style may be gone by the time
    // the queue gets there.
    QPointer<SCStyle> style(this);
    platform::MainQueue::post([style, values = *values] {
        if (style) style->applyDictionary(values);
    });
    return resultTypes::ok;
}

void SCStyle::applyDictionary(const QVariantMap& values) {
    for (const QString& key : assOrderedStyleKeys())
        if (values.contains(key)) setValueForKey(key, values.value(key));
    initializeColorProperties();
}
