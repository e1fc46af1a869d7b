#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include "common/ResultTypes.h"
#include "formatting/SCSubtitleColor.h"
#include "platform/RGBAColor.h"

// One style of the "[V4+ Styles]" section: the 23 fields of a "Style:" line
// under the format's own names, an include flag, a snapshot of the values as
// last loaded, and each colour as a colour object (keeps the loaded colour)
// and a mirror (the colour the editor shows and changes).
//
// Every field notifies its observers on every assignment. Fields are read
// and written by name only through valueForKey/setValueForKey, which know
// each name; an unknown name is refused rather than becoming a new property.
// Fontsize, ScaleX, ScaleY, Spacing, Angle, Outline and Shadow hold
// fractions, as ASS allows.
class SCStyle : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool theState READ theState WRITE setTheState NOTIFY theStateChanged)
    Q_PROPERTY(QString Name READ Name WRITE setName NOTIFY NameChanged)
    Q_PROPERTY(QString Fontname READ Fontname WRITE setFontname NOTIFY FontnameChanged)
    Q_PROPERTY(double Fontsize READ Fontsize WRITE setFontsize NOTIFY FontsizeChanged)
    Q_PROPERTY(
        QString PrimaryColour READ PrimaryColour WRITE setPrimaryColour NOTIFY PrimaryColourChanged)
    Q_PROPERTY(QString SecondaryColour READ SecondaryColour WRITE setSecondaryColour NOTIFY
                   SecondaryColourChanged)
    Q_PROPERTY(
        QString OutlineColour READ OutlineColour WRITE setOutlineColour NOTIFY OutlineColourChanged)
    Q_PROPERTY(QString BackColour READ BackColour WRITE setBackColour NOTIFY BackColourChanged)
    Q_PROPERTY(QString Bold READ Bold WRITE setBold NOTIFY BoldChanged)
    Q_PROPERTY(QString Italic READ Italic WRITE setItalic NOTIFY ItalicChanged)
    Q_PROPERTY(QString Underline READ Underline WRITE setUnderline NOTIFY UnderlineChanged)
    Q_PROPERTY(QString StrikeOut READ StrikeOut WRITE setStrikeOut NOTIFY StrikeOutChanged)
    Q_PROPERTY(double ScaleX READ ScaleX WRITE setScaleX NOTIFY ScaleXChanged)
    Q_PROPERTY(double ScaleY READ ScaleY WRITE setScaleY NOTIFY ScaleYChanged)
    Q_PROPERTY(double Spacing READ Spacing WRITE setSpacing NOTIFY SpacingChanged)
    Q_PROPERTY(double Angle READ Angle WRITE setAngle NOTIFY AngleChanged)
    Q_PROPERTY(qint64 BorderStyle READ BorderStyle WRITE setBorderStyle NOTIFY BorderStyleChanged)
    Q_PROPERTY(double Outline READ Outline WRITE setOutline NOTIFY OutlineChanged)
    Q_PROPERTY(double Shadow READ Shadow WRITE setShadow NOTIFY ShadowChanged)
    Q_PROPERTY(QString Alignment READ Alignment WRITE setAlignment NOTIFY AlignmentChanged)
    Q_PROPERTY(qint64 MarginL READ MarginL WRITE setMarginL NOTIFY MarginLChanged)
    Q_PROPERTY(qint64 MarginR READ MarginR WRITE setMarginR NOTIFY MarginRChanged)
    Q_PROPERTY(qint64 MarginV READ MarginV WRITE setMarginV NOTIFY MarginVChanged)
    Q_PROPERTY(QString Encoding READ Encoding WRITE setEncoding NOTIFY EncodingChanged)
    Q_PROPERTY(platform::RGBAColor primaryColorNSColor READ primaryColorNSColor WRITE
                   setPrimaryColorNSColor NOTIFY primaryColorNSColorChanged)
    Q_PROPERTY(
        SCSubtitleColor* primaryColorSCSubtitleColor READ primaryColorSCSubtitleColor CONSTANT)
    Q_PROPERTY(platform::RGBAColor secondaryColorNSColor READ secondaryColorNSColor WRITE
                   setSecondaryColorNSColor NOTIFY secondaryColorNSColorChanged)
    Q_PROPERTY(
        SCSubtitleColor* secondaryColorSCSubtitleColor READ secondaryColorSCSubtitleColor CONSTANT)
    Q_PROPERTY(platform::RGBAColor outlineColorNSColor READ outlineColorNSColor WRITE
                   setOutlineColorNSColor NOTIFY outlineColorNSColorChanged)
    Q_PROPERTY(
        SCSubtitleColor* outlineColorSCSubtitleColor READ outlineColorSCSubtitleColor CONSTANT)
    Q_PROPERTY(platform::RGBAColor backColorNSColor READ backColorNSColor WRITE setBackColorNSColor
                   NOTIFY backColorNSColorChanged)
    Q_PROPERTY(SCSubtitleColor* backColorSCSubtitleColor READ backColorSCSubtitleColor CONSTANT)

  public:
    // Styles made on a loading thread live on the main thread, where their
    // values are applied and observed.
    explicit SCStyle(QObject* parent = nullptr);

    static const QStringList& assOrderedStyleKeys();

    bool theState() const { return theState_; }
    void setTheState(bool value);

    const QString& Name() const { return Name_; }
    void setName(const QString& value);
    const QString& Fontname() const { return Fontname_; }
    void setFontname(const QString& value);
    double Fontsize() const { return Fontsize_; }
    void setFontsize(double value);
    const QString& PrimaryColour() const { return PrimaryColour_; }
    void setPrimaryColour(const QString& value);
    const QString& SecondaryColour() const { return SecondaryColour_; }
    void setSecondaryColour(const QString& value);
    const QString& OutlineColour() const { return OutlineColour_; }
    void setOutlineColour(const QString& value);
    const QString& BackColour() const { return BackColour_; }
    void setBackColour(const QString& value);
    const QString& Bold() const { return Bold_; }
    void setBold(const QString& value);
    const QString& Italic() const { return Italic_; }
    void setItalic(const QString& value);
    const QString& Underline() const { return Underline_; }
    void setUnderline(const QString& value);
    const QString& StrikeOut() const { return StrikeOut_; }
    void setStrikeOut(const QString& value);
    double ScaleX() const { return ScaleX_; }
    void setScaleX(double value);
    double ScaleY() const { return ScaleY_; }
    void setScaleY(double value);
    double Spacing() const { return Spacing_; }
    void setSpacing(double value);
    double Angle() const { return Angle_; }
    void setAngle(double value);
    qint64 BorderStyle() const { return BorderStyle_; }
    void setBorderStyle(qint64 value);
    double Outline() const { return Outline_; }
    void setOutline(double value);
    double Shadow() const { return Shadow_; }
    void setShadow(double value);
    const QString& Alignment() const { return Alignment_; }
    void setAlignment(const QString& value);
    qint64 MarginL() const { return MarginL_; }
    void setMarginL(qint64 value);
    qint64 MarginR() const { return MarginR_; }
    void setMarginR(qint64 value);
    qint64 MarginV() const { return MarginV_; }
    void setMarginV(qint64 value);
    const QString& Encoding() const { return Encoding_; }
    void setEncoding(const QString& value);
    SCSubtitleColor* primaryColorSCSubtitleColor() const { return primaryColorSCSubtitleColor_; }
    platform::RGBAColor primaryColorNSColor() const { return primaryColorNSColor_; }
    void setPrimaryColorNSColor(const platform::RGBAColor& value);
    SCSubtitleColor* secondaryColorSCSubtitleColor() const {
        return secondaryColorSCSubtitleColor_;
    }
    platform::RGBAColor secondaryColorNSColor() const { return secondaryColorNSColor_; }
    void setSecondaryColorNSColor(const platform::RGBAColor& value);
    SCSubtitleColor* outlineColorSCSubtitleColor() const { return outlineColorSCSubtitleColor_; }
    platform::RGBAColor outlineColorNSColor() const { return outlineColorNSColor_; }
    void setOutlineColorNSColor(const platform::RGBAColor& value);
    SCSubtitleColor* backColorSCSubtitleColor() const { return backColorSCSubtitleColor_; }
    platform::RGBAColor backColorNSColor() const { return backColorNSColor_; }
    void setBackColorNSColor(const platform::RGBAColor& value);

    // The values as last loaded, one entry per key of assOrderedStyleKeys.
    const QVariantMap& assStyleDictionary() const { return assStyleDictionary_; }
    void setAssStyleDictionary(const QVariantMap& value) { assStyleDictionary_ = value; }

    // By-name access. Reading an unknown name gives an invalid QVariant;
    // writing one, or a read-only name, or a value of no usable form, is
    // refused with false and changes nothing.
    QVariant valueForKey(const QString& key) const;
    bool setValueForKey(const QString& key, const QVariant& value);
    QVariantMap dictionaryWithValuesForKeys(const QStringList& keys) const;
    bool setValuesForKeysWithDictionary(const QVariantMap& values);

    // Colour objects from the colour texts, mirrors from the colour objects.
    void initializeColorProperties();
    // The four colours as last loaded, with Outline and Shadow.
    void resetStyleColorsToOriginal();
    // Fontname, Fontsize, Bold, Italic and Underline as last loaded.
    void resetFontsToOriginal();

    // "Format: " and the 23 field names joined by ", ".
    static QString assStyleFormatString();
    // "Style: " and the values; colours come from the mirrors, with the
    // alpha the style was loaded with. A comma in a value is written as ";":
    // the line has no escape for one.
    QString assStyleString() const;
    // The same; `commasReplaced` becomes true when a value held a comma.
    QString assStyleString(bool& commasReplaced) const;

    // Reads a "Format:"/"Style:" line pair (SSA alignment numbering unless
    // the header begins with "[V4+", in any case). The values reach the fields in
    // one operation queued on the main queue; returns ok once it is queued,
    // error (and changes nothing) when a line lacks its prefix or holds it
    // twice.
    resultTypes intitializeWithFormatString(const QString& formatString,
                                            const QString& andStyleString,
                                            const QString& withStyleHeader);

  signals:
    void theStateChanged();
    void NameChanged();
    void FontnameChanged();
    void FontsizeChanged();
    void PrimaryColourChanged();
    void SecondaryColourChanged();
    void OutlineColourChanged();
    void BackColourChanged();
    void BoldChanged();
    void ItalicChanged();
    void UnderlineChanged();
    void StrikeOutChanged();
    void ScaleXChanged();
    void ScaleYChanged();
    void SpacingChanged();
    void AngleChanged();
    void BorderStyleChanged();
    void OutlineChanged();
    void ShadowChanged();
    void AlignmentChanged();
    void MarginLChanged();
    void MarginRChanged();
    void MarginVChanged();
    void EncodingChanged();
    void primaryColorNSColorChanged();
    void secondaryColorNSColorChanged();
    void outlineColorNSColorChanged();
    void backColorNSColorChanged();

  private:
    void applyDictionary(const QVariantMap& values);
    template <typename Change>
    void forEachColour(Change change);

    bool theState_ = true;
    QString Name_;
    QString Fontname_;
    double Fontsize_ = 0;
    QString PrimaryColour_;
    QString SecondaryColour_;
    QString OutlineColour_;
    QString BackColour_;
    QString Bold_;
    QString Italic_;
    QString Underline_;
    QString StrikeOut_;
    double ScaleX_ = 0;
    double ScaleY_ = 0;
    double Spacing_ = 0;
    double Angle_ = 0;
    qint64 BorderStyle_ = 0;
    double Outline_ = 0;
    double Shadow_ = 0;
    QString Alignment_;
    qint64 MarginL_ = 0;
    qint64 MarginR_ = 0;
    qint64 MarginV_ = 0;
    QString Encoding_;
    SCSubtitleColor* primaryColorSCSubtitleColor_;
    platform::RGBAColor primaryColorNSColor_;
    SCSubtitleColor* secondaryColorSCSubtitleColor_;
    platform::RGBAColor secondaryColorNSColor_;
    SCSubtitleColor* outlineColorSCSubtitleColor_;
    platform::RGBAColor outlineColorNSColor_;
    SCSubtitleColor* backColorSCSubtitleColor_;
    platform::RGBAColor backColorNSColor_;
    QVariantMap assStyleDictionary_;
};
