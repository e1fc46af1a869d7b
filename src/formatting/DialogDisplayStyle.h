#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "formatting/textFormatting.h"
#include "platform/AttributedText.h"

// The look of dialog texts in the lines table: Helvetica faces at 14 points,
// centred, override blocks in blue, left-out lines in light grey.
class DialogDisplayStyle {
  public:
    static constexpr double pointSize = 14.0;

    // The text in the base look: "Helvetica" 14, centred, no underline.
    static std::shared_ptr<platform::AttributedText> baseText(const QString& text);
    // The text plain and light grey, without underline attribute.
    static std::shared_ptr<platform::AttributedText> unselectedText(const QString& text);

    // Toggles bold, italic or underline on every position of the range, or
    // colours the range blue for an override block.
    static void apply(platform::AttributedText& text, textFormatting kind,
                      platform::TextRange range);
    // The same for many ranges in text order, in one pass over the text.
    static void apply(platform::AttributedText& text, textFormatting kind,
                      const std::vector<platform::TextRange>& ranges);

    static QString boldFaceFor(const QString& face);
    static QString italicFaceFor(const QString& face);
};
