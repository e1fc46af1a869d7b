#include "formatting/DialogDisplayStyle.h"

#include <algorithm>

namespace {

const QString helvetica = QStringLiteral("Helvetica");
const QString helveticaBold = QStringLiteral("Helvetica-Bold");
const QString helveticaOblique = QStringLiteral("Helvetica-Oblique");
const QString helveticaBoldOblique = QStringLiteral("Helvetica-BoldOblique");

// Each position is decided by its own face, so bold and italic are toggles
// on the four faces even where runs of mixed faces overlap the range.
template <typename FaceMap>
void toggleFaces(platform::AttributedText& text, platform::TextRange range, FaceMap newFace) {
    const qsizetype end = std::min(range.end(), text.length());
    for (qsizetype p = std::max<qsizetype>(range.location, 0); p < end; ++p) {
        const auto font = text.attributesAt(p).font;
        const QString face = font ? font->faceName : QString();
        text.setFont({p, 1}, {newFace(face), DialogDisplayStyle::pointSize});
    }
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
    if (range.length <= 0) return;
    switch (kind) {
        case textFormatting::bold:
            toggleFaces(text, range, boldFaceFor);
            break;
        case textFormatting::italic:
            toggleFaces(text, range, italicFaceFor);
            break;
        case textFormatting::underline: {
            const qsizetype end = std::min(range.end(), text.length());
            for (qsizetype p = std::max<qsizetype>(range.location, 0); p < end; ++p) {
                const int current = text.attributesAt(p).underlineStyle.value_or(0);
                text.setUnderlineStyle({p, 1}, current == 0 ? 1 : 0);
            }
            break;
        }
        case textFormatting::assEffect:
            text.setForegroundColor(range, platform::RGBAColor::blueColor());
            break;
    }
}
