#pragma once

#include <QString>
#include <optional>

// Every name a style can be read or written by, so by-name access is an
// explicit switch and an unknown name is recognised as such.
class StyleKeys {
  public:
    // The keyed fields first, in the order of SCStyle::assOrderedStyleKeys.
    enum class Key {
        Name,
        Fontname,
        Fontsize,
        PrimaryColour,
        SecondaryColour,
        OutlineColour,
        BackColour,
        Bold,
        Italic,
        Underline,
        StrikeOut,
        ScaleX,
        ScaleY,
        Spacing,
        Angle,
        BorderStyle,
        Outline,
        Shadow,
        Alignment,
        MarginL,
        MarginR,
        MarginV,
        Encoding,
        theState,
        assStyleDictionary,
        assOrderedStyleKeys,
        assStyleFormatString,
        assStyleString,
        primaryColorSCSubtitleColor,
        secondaryColorSCSubtitleColor,
        outlineColorSCSubtitleColor,
        backColorSCSubtitleColor,
        primaryColorNSColor,
        secondaryColorNSColor,
        outlineColorNSColor,
        backColorNSColor,
    };

    static std::optional<Key> keyFor(const QString& name);
};
