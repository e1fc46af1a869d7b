#include "editor/MarkupToggle.h"

#include <algorithm>

namespace {

bool onlySpaces(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return c == u'\t' || c.category() == QChar::Separator_Space;
    });
}

}  // namespace

textFormatting MarkupToggle::styleForTitle(const QString& title) {
    if (title == u"I") return textFormatting::italic;
    if (title == u"U") return textFormatting::underline;
    return textFormatting::bold;
}

std::optional<MarkupToggle::Result> MarkupToggle::apply(const QString& text, int location,
                                                        int length, textFormatting style,
                                                        bool srtForm) {
    const int start = std::clamp<int>(location, 0, int(text.size()));
    const int end = std::clamp<int>(location + std::max(0, length), start, int(text.size()));
    const QString selected = text.mid(start, end - start);
    if (selected.isEmpty() || onlySpaces(selected)) return std::nullopt;
    const subtitleTypes form = srtForm ? subtitleTypes::srt : subtitleTypes::ass;
    const QString open = style.startFor(form);
    const QString close = style.endFor(form);
    const bool hasOpen = selected.contains(open);
    const bool hasClose = selected.contains(close);
    QString replacement = selected;
    if (hasOpen && hasClose) {
        replacement.remove(open);
        replacement.remove(close);
    } else if (hasOpen) {
        replacement = open + replacement.remove(open);
    } else if (hasClose) {
        replacement = replacement.remove(close) + close;
    } else {
        replacement = open + selected + close;
    }
    // The new selection covers what was inserted, however many tags went.
    return Result{replacement, start, int(replacement.size())};
}
