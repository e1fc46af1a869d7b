#include "formatting/SCStyle.h"

#include <QCoreApplication>
#include <QHash>
#include <QPointer>
#include <QThread>
#include <optional>

#include "formatting/StyleFields.h"
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
    return StyleFields::value(*this, key);
}

bool SCStyle::setValueForKey(const QString& key, const QVariant& value) {
    return StyleFields::setValue(*this, key, value);
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
    bool commasReplaced = false;
    return assStyleString(commasReplaced);
}

QString SCStyle::assStyleString(bool& commasReplaced) const {
    // Colours come from the mirrors (the colour the editor shows), with the
    // alpha the style was loaded with; numbers in their shortest form.
    const QHash<QString, std::pair<SCSubtitleColor*, platform::RGBAColor>> colours{
        {QStringLiteral("PrimaryColour"), {primaryColorSCSubtitleColor_, primaryColorNSColor_}},
        {QStringLiteral("SecondaryColour"),
         {secondaryColorSCSubtitleColor_, secondaryColorNSColor_}},
        {QStringLiteral("OutlineColour"), {outlineColorSCSubtitleColor_, outlineColorNSColor_}},
        {QStringLiteral("BackColour"), {backColorSCSubtitleColor_, backColorNSColor_}},
    };
    QStringList values;
    values.reserve(assOrderedStyleKeys().size());
    for (const QString& key : assOrderedStyleKeys()) {
        if (const auto colour = colours.constFind(key); colour != colours.constEnd()) {
            colour->first->updateFromNSColor(colour->second);
            values.append(colour->first->toHexString());
            continue;
        }
        const QVariant value = valueForKey(key);
        QString text = value.metaType().id() == QMetaType::Double
                           ? StyleValueText::shortestDecimal(value.toDouble())
                           : value.toString();
        // A field cannot hold a comma: the line has no escape for one, and
        // every later field would move one place when the line is read.
        if (text.contains(u',')) {
            text.replace(u',', u';');
            commasReplaced = true;
        }
        values.append(text);
    }
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
