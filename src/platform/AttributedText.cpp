#include "platform/AttributedText.h"

#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFormat>
#include <algorithm>

namespace platform {

AttributedText::AttributedText(const QString& string, const TextAttributes& attributes)
    : string_(string) {
    if (!string_.isEmpty()) runs_.push_back(Run{string_.size(), attributes});
}

TextAttributes AttributedText::attributesAt(qsizetype position) const {
    if (position < 0) return {};
    qsizetype start = 0;
    for (const Run& run : runs_) {
        if (position < start + run.length) return run.attributes;
        start += run.length;
    }
    return {};
}

std::optional<TextRange> AttributedText::clamped(TextRange range) const {
    if (range.length <= 0 || range.location < 0 || range.location >= string_.size())
        return std::nullopt;
    const qsizetype end = std::min(range.end(), string_.size());
    return TextRange{range.location, end - range.location};
}

std::size_t AttributedText::splitAt(qsizetype position) {
    qsizetype start = 0;
    for (std::size_t i = 0; i < runs_.size(); ++i) {
        if (position == start) return i;
        if (position < start + runs_[i].length) {
            Run tail{start + runs_[i].length - position, runs_[i].attributes};
            runs_[i].length = position - start;
            runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(i) + 1, tail);
            return i + 1;
        }
        start += runs_[i].length;
    }
    return runs_.size();
}

template <typename Edit>
void AttributedText::changeRange(TextRange range, Edit edit) {
    const auto r = clamped(range);
    if (!r) return;
    const std::size_t first = splitAt(r->location);
    const std::size_t last = splitAt(r->end());
    for (std::size_t i = first; i < last; ++i) edit(runs_[i].attributes);
    mergeRuns();
}

void AttributedText::mergeRuns() {
    std::vector<Run> merged;
    for (Run& run : runs_) {
        if (run.length <= 0) continue;
        if (!merged.empty() && merged.back().attributes == run.attributes)
            merged.back().length += run.length;
        else
            merged.push_back(std::move(run));
    }
    runs_ = std::move(merged);
}

void AttributedText::setFont(TextRange range, const TextFont& font) {
    changeRange(range, [&](TextAttributes& a) { a.font = font; });
}

void AttributedText::setUnderlineStyle(TextRange range, int style) {
    changeRange(range, [&](TextAttributes& a) { a.underlineStyle = style; });
}

void AttributedText::setForegroundColor(TextRange range, const RGBAColor& color) {
    changeRange(range, [&](TextAttributes& a) { a.foregroundColor = color; });
}

void AttributedText::setAlignment(TextRange range, TextAlignment alignment) {
    changeRange(range, [&](TextAttributes& a) { a.alignment = alignment; });
}

void AttributedText::deleteCharacters(TextRange range) {
    const auto r = clamped(range);
    if (!r) return;
    const std::size_t first = splitAt(r->location);
    const std::size_t last = splitAt(r->end());
    runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(first),
                runs_.begin() + static_cast<std::ptrdiff_t>(last));
    string_.remove(r->location, r->length);
    mergeRuns();
}

std::optional<std::vector<TextRange>> AttributedText::orderedRanges(
    const std::vector<TextRange>& ranges) const {
    std::vector<TextRange> ordered;
    ordered.reserve(ranges.size());
    qsizetype end = 0;
    for (const TextRange& range : ranges) {
        const auto r = clamped(range);
        if (!r) continue;
        if (r->location < end) return std::nullopt;
        ordered.push_back(*r);
        end = r->end();
    }
    return ordered;
}

template <typename Piece>
void AttributedText::forEachPiece(const std::vector<TextRange>& ranges, Piece piece) const {
    std::size_t next = 0;
    qsizetype runStart = 0;
    for (const Run& run : runs_) {
        const qsizetype runEnd = runStart + run.length;
        qsizetype position = runStart;
        while (position < runEnd) {
            while (next < ranges.size() && ranges[next].end() <= position) ++next;
            if (next == ranges.size() || ranges[next].location >= runEnd) {
                piece(position, runEnd - position, run.attributes, false);
                break;
            }
            if (ranges[next].location > position) {
                piece(position, ranges[next].location - position, run.attributes, false);
                position = ranges[next].location;
            }
            const qsizetype end = std::min(runEnd, ranges[next].end());
            piece(position, end - position, run.attributes, true);
            position = end;
        }
        runStart = runEnd;
    }
}

void AttributedText::changeRanges(const std::vector<TextRange>& ranges, const Change& change) {
    const auto ordered = orderedRanges(ranges);
    if (!ordered) {
        for (const TextRange& range : ranges) changeRange(range, change);
        return;
    }
    if (ordered->empty()) return;
    std::vector<Run> pieces;
    pieces.reserve(runs_.size() + 2 * ordered->size());
    forEachPiece(*ordered,
                 [&](qsizetype, qsizetype length, const TextAttributes& attributes, bool covered) {
                     pieces.push_back(Run{length, attributes});
                     if (covered) change(pieces.back().attributes);
                 });
    runs_ = std::move(pieces);
    mergeRuns();
}

void AttributedText::deleteCharacters(const std::vector<TextRange>& ranges) {
    const auto ordered = orderedRanges(ranges);
    if (!ordered) {
        // Overlapping ranges are removed from the back, each on its own.
        for (auto it = ranges.rbegin(); it != ranges.rend(); ++it) deleteCharacters(*it);
        return;
    }
    if (ordered->empty()) return;
    std::vector<Run> kept;
    kept.reserve(runs_.size() + ordered->size());
    QString text;
    text.reserve(string_.size());
    forEachPiece(*ordered, [&](qsizetype position, qsizetype length,
                               const TextAttributes& attributes, bool covered) {
        if (covered) return;
        kept.push_back(Run{length, attributes});
        text.append(QStringView(string_).mid(position, length));
    });
    runs_ = std::move(kept);
    string_ = std::move(text);
    mergeRuns();
}

namespace {

// The face names follow the PostScript convention "Family-Style".
QTextCharFormat charFormatFor(const TextAttributes& attributes) {
    QTextCharFormat format;
    if (attributes.font) {
        const QString& face = attributes.font->faceName;
        const qsizetype dash = face.indexOf(QLatin1Char('-'));
        const QString family = dash < 0 ? face : face.left(dash);
        const QString style = dash < 0 ? QString() : face.mid(dash + 1);
        format.setFontFamilies({family});
        if (attributes.font->pointSize > 0) format.setFontPointSize(attributes.font->pointSize);
        format.setFontWeight(style.contains(QLatin1String("Bold")) ? QFont::Bold : QFont::Normal);
        format.setFontItalic(style.contains(QLatin1String("Oblique")) ||
                             style.contains(QLatin1String("Italic")));
    }
    format.setFontUnderline(attributes.underlineStyle.value_or(0) != 0);
    if (attributes.foregroundColor) format.setForeground(attributes.foregroundColor->toQColor());
    return format;
}

Qt::Alignment qtAlignment(TextAlignment alignment) {
    switch (alignment) {
        case TextAlignment::left:
            return Qt::AlignLeft;
        case TextAlignment::center:
            return Qt::AlignHCenter;
        case TextAlignment::right:
            return Qt::AlignRight;
        case TextAlignment::justified:
            return Qt::AlignJustify;
        case TextAlignment::natural:
            break;
    }
    return Qt::AlignLeading;
}

}  // namespace

std::unique_ptr<QTextDocument> AttributedText::toTextDocument() const {
    auto document = std::make_unique<QTextDocument>();
    QTextCursor cursor(document.get());
    qsizetype start = 0;
    for (const Run& run : runs_) {
        // Line breaks become paragraph breaks, as the platform's text does.
        const QString text = string_.mid(start, run.length);
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0) cursor.insertBlock();
            if (run.attributes.alignment) {
                QTextBlockFormat block = cursor.blockFormat();
                block.setAlignment(qtAlignment(*run.attributes.alignment));
                cursor.setBlockFormat(block);
            }
            cursor.insertText(lines[i], charFormatFor(run.attributes));
        }
        start += run.length;
    }
    return document;
}

}  // namespace platform
