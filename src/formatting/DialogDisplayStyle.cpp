#include "formatting/DialogDisplayStyle.h"

#include <algorithm>

namespace {

const QString helvetica = QStringLiteral("Helvetica");
const QString helveticaBold = QStringLiteral("Helvetica-Bold");
const QString helveticaOblique = QStringLiteral("Helvetica-Oblique");
const QString helveticaBoldOblique = QStringLiteral("Helvetica-BoldOblique");

// Bold and italic toggle the four faces, each stretch by its own face, so
// nested or crossing markup of mixed faces comes out right.
platform::AttributedText::Change faceToggle(QString (*newFace)(const QString&)) {
    return [newFace](platform::TextAttributes& a) {
        const QString face = a.font ? a.font->faceName : QString();
        a.font = platform::TextFont{newFace(face), DialogDisplayStyle::pointSize};
    };
}

}  // namespace

std::shared_ptr<platform::AttributedText> DialogDisplayStyle::baseText(const QString& text) {
    platform::TextAttributes attributes;
    attributes.font = platform::TextFont{helvetica, pointSize};
    attributes.alignment = platform::TextAlignment::center;
    attributes.underlineStyle = 0;
    return std::make_shared<platform::AttributedText>(text, attributes);
}

std::shared_ptr<platform::AttributedText> DialogDisplayStyle::unselectedText(const QString& text) {
    platform::TextAttributes attributes;
    attributes.font = platform::TextFont{helvetica, pointSize};
    attributes.alignment = platform::TextAlignment::center;
    attributes.foregroundColor = platform::RGBAColor::lightGrayColor();
    return std::make_shared<platform::AttributedText>(text, attributes);
}

QString DialogDisplayStyle::boldFaceFor(const QString& face) {
    if (face == helvetica) return helveticaBold;
    if (face == helveticaOblique) return helveticaBoldOblique;
    if (face == helveticaBoldOblique) return helveticaOblique;
    return helvetica;
}

QString DialogDisplayStyle::italicFaceFor(const QString& face) {
    if (face == helvetica) return helveticaOblique;
    if (face == helveticaBold) return helveticaBoldOblique;
    if (face == helveticaBoldOblique) return helveticaBold;
    return helvetica;
}

void DialogDisplayStyle::apply(platform::AttributedText& text, textFormatting kind,
                               platform::TextRange range) {
    // The toggles start at the first position of a range that begins before
    // the text; the colour is given to whole ranges only.
    if (range.location < 0 && kind != textFormatting::assEffect) range = {0, range.end()};
    apply(text, kind, std::vector<platform::TextRange>{range});
}

void DialogDisplayStyle::apply(platform::AttributedText& text, textFormatting kind,
                               const std::vector<platform::TextRange>& ranges) {
    switch (kind) {
        case textFormatting::bold:
            text.changeRanges(ranges, faceToggle(boldFaceFor));
            break;
        case textFormatting::italic:
            text.changeRanges(ranges, faceToggle(italicFaceFor));
            break;
        case textFormatting::underline:
            text.changeRanges(ranges, [](platform::TextAttributes& a) {
                a.underlineStyle = a.underlineStyle.value_or(0) == 0 ? 1 : 0;
            });
            break;
        case textFormatting::assEffect:
            text.changeRanges(ranges, [](platform::TextAttributes& a) {
                a.foregroundColor = platform::RGBAColor::blueColor();
            });
            break;
    }
}
