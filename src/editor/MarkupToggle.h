#pragma once

#include <QString>
#include <optional>

#include "formatting/textFormatting.h"

// The bold, italic and underline buttons on a selection of the dialog text:
// tags of the style around the selection are put on, taken off, or moved to
// its edge. Positions are UTF-16 units.
class MarkupToggle {
  public:
    struct Result {
        QString replacement;  // what replaces the selection
        int location;         // the new selection: exactly the replacement
        int length;
    };

    // "I" italic, "U" underline, any other title bold (titles compared exactly).
    static textFormatting styleForTitle(const QString& title);

    // Nothing for an empty selection or one of spaces and tabs only; the
    // selection is cut to the text.
    static std::optional<Result> apply(const QString& text, int location, int length,
                                       textFormatting style, bool srtForm);
};
