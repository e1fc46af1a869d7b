#include "platform/TextMeasurer.h"

#include <QFontMetricsF>
#include <QStringList>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// Width of a stretch of text; words repeat a lot in subtitles, and the
// metrics object caches glyph advances itself.
double widthOf(const QFontMetricsF& metrics, QStringView text) {
    return text.isEmpty() ? 0.0 : metrics.horizontalAdvance(text.toString());
}

// Greedy wrap over the text's line-break opportunities (the Unicode rules a
// layout uses: after blanks, after hyphens, ...). Blanks at the end of a
// segment do not count when the line breaks there.
int linesOfParagraph(const QFontMetricsF& metrics, const QString& paragraph, double width) {
    if (paragraph.trimmed().isEmpty()) return 1;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, paragraph);
    int lines = 1;
    double used = 0.0;      // the line so far, without its trailing blanks
    double trailing = 0.0;  // blanks after the last segment on the line
    bool lineHasText = false;
    qsizetype start = 0;
    while (finder.toNextBoundary() != -1) {
        const qsizetype end = finder.position();
        if (end <= start) continue;
        const QStringView segment = QStringView(paragraph).mid(start, end - start);
        qsizetype visible = segment.size();
        while (visible > 0 && segment[visible - 1].isSpace()) --visible;
        const double body = widthOf(metrics, segment.left(visible));
        const double blanks = widthOf(metrics, segment.mid(visible));
        if (lineHasText && used + trailing + body > width) {
            ++lines;
            used = body;
        } else {
            used += trailing + body;
        }
        trailing = blanks;
        lineHasText = true;
        start = end;
    }
    return lines;
}

int linesOfText(const QFontMetricsF& metrics, const QString& text, double width) {
    int lines = 0;
    for (const QStringView paragraph : QStringView(text).split(u'\n'))
        lines += linesOfParagraph(metrics, paragraph.toString(), width);
    return lines;
}

double heightOf(const QFontMetricsF& metrics, const QString& text, double width) {
    const double usable = std::max(1.0, width - 2 * TextMeasurer::kCellInset);
    return std::ceil(linesOfText(metrics, text, usable) * metrics.lineSpacing());
}

}  // namespace

QFont TextMeasurer::displayFont() {
    QFont font(QStringLiteral("Helvetica"));
    font.setPixelSize(14);
    return font;
}

int TextMeasurer::wrappedLineCount(const QString& text, double width, const QFont& font) {
    return linesOfText(QFontMetricsF(font), text, width);
}

double TextMeasurer::cellHeight(const QString& text, double width) {
    // Built once and kept for the life of the process: the table measures
    // every line with it, and destroying font objects after the application
    // object is gone is not safe.
    static const QFontMetricsF* metrics = new QFontMetricsF(displayFont());
    return heightOf(*metrics, text, width);
}

double TextMeasurer::cellHeight(const QString& text, double width, const QFont& font) {
    return heightOf(QFontMetricsF(font), text, width);
}

}  // namespace platform
