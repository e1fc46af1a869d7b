#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/RGBAColor.h"
#include "platform/TextRange.h"

class QTextDocument;

namespace platform {

// A font as the display text names it: the face name is what was set and is
// read back unchanged, whichever font the system draws in its place.
struct TextFont {
    QString faceName;
    double pointSize = 0.0;
    friend bool operator==(const TextFont&, const TextFont&) = default;
};

enum class TextAlignment { left, center, right, justified, natural };

// The attributes of one position; an absent value means "not set".
struct TextAttributes {
    std::optional<TextFont> font;
    std::optional<int> underlineStyle;  // 0 none, 1 single
    std::optional<RGBAColor> foregroundColor;
    std::optional<TextAlignment> alignment;
    friend bool operator==(const TextAttributes&, const TextAttributes&) = default;
};

// A mutable string with attributes attached to stretches of it. Positions are
// UTF-16 code units, as QString counts them. Ranges reaching past the end are
// cut at the end; ranges before the start or of no length change nothing.
class AttributedText {
  public:
    struct Run {
        qsizetype length = 0;
        TextAttributes attributes;
    };

    AttributedText() = default;
    explicit AttributedText(const QString& string, const TextAttributes& attributes = {});

    const QString& string() const { return string_; }
    qsizetype length() const { return string_.size(); }

    // The attributes at a position; all absent outside the text.
    TextAttributes attributesAt(qsizetype position) const;

    void setFont(TextRange range, const TextFont& font);
    void setUnderlineStyle(TextRange range, int style);
    void setForegroundColor(TextRange range, const RGBAColor& color);
    void setAlignment(TextRange range, TextAlignment alignment);

    // Removes the characters of the range; the others keep their attributes.
    void deleteCharacters(TextRange range);

    // Many ranges in one pass over the text and its runs: ranges in text
    // order that do not overlap (each of other lists is applied in turn).
    // `change` edits the attributes of every position covered.
    using Change = std::function<void(TextAttributes&)>;
    void changeRanges(const std::vector<TextRange>& ranges, const Change& change);
    void deleteCharacters(const std::vector<TextRange>& ranges);

    // Maximal stretches of equal attributes, in text order.
    const std::vector<Run>& runs() const { return runs_; }

    // A rich-text document of the same characters for drawing.
    std::unique_ptr<QTextDocument> toTextDocument() const;

  private:
    std::optional<TextRange> clamped(TextRange range) const;
    // Makes a run start at the position and returns that run's index.
    std::size_t splitAt(qsizetype position);
    template <typename Edit>
    void changeRange(TextRange range, Edit edit);
    void mergeRuns();
    // The ranges clamped, or none when they are not in order and apart.
    std::optional<std::vector<TextRange>> orderedRanges(const std::vector<TextRange>& ranges) const;
    // The runs cut at every range boundary, each piece flagged when a range
    // covers it.
    template <typename Piece>
    void forEachPiece(const std::vector<TextRange>& ranges, Piece piece) const;

    QString string_;
    std::vector<Run> runs_;
};

}  // namespace platform
