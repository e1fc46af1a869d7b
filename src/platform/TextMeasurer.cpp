#include "platform/TextMeasurer.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QStringList>
#include <QTextBoundaryFinder>
#include <QThread>
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace platform {

namespace {

// Widths of the words (and blanks) a thread has measured with one font:
// words repeat a lot in subtitles, and each measure shapes its text.
using WidthCache = QHash<QString, double>;
constexpr qsizetype kMostCachedWidths = 1 << 13;  // then it starts again

// Width of a stretch of text, from the cache when one is given.
double widthOf(const QFontMetricsF& metrics, QStringView text, WidthCache* cache) {
    if (text.isEmpty()) return 0.0;
    QString key = text.toString();
    if (!cache) return metrics.horizontalAdvance(key);
    if (const auto found = cache->constFind(key); found != cache->constEnd()) return *found;
    const double width = metrics.horizontalAdvance(key);
    if (cache->size() >= kMostCachedWidths) cache->clear();
    cache->insert(std::move(key), width);
    return width;
}

// Greedy wrap over the text's line-break opportunities (the Unicode rules a
// layout uses: after blanks, after hyphens, ...). Blanks at the end of a
// segment do not count when the line breaks there.
int linesOfParagraph(const QFontMetricsF& metrics, const QString& paragraph, double width,
                     WidthCache* cache = nullptr) {
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
        const double body = widthOf(metrics, segment.left(visible), cache);
        const double blanks = widthOf(metrics, segment.mid(visible), cache);
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

// Most subtitle paragraphs fit their cell by a wide margin. The sum of the
// characters' own advances tells that without shaping the text; kerning and
// ligatures change a line's width by far less than the margin kept here, so
// only paragraphs near or over the width take the exact path.
constexpr double kSureFit = 0.85;

using Advances = std::array<double, 0x0590>;

// The advances of one font's characters, measured once each; a zero is one
// not measured yet.
class AdvanceCache {
  public:
    AdvanceCache(const QFontMetricsF& metrics, Advances& advances)
        : metrics_(metrics), advances_(advances) {}

    // The paragraph's width without shaping, or no value when it holds a
    // control character or a script whose shaping the sum would miss.
    std::optional<double> estimate(QStringView paragraph) {
        double sum = 0.0;
        for (QChar c : paragraph) {
            const char16_t u = c.unicode();
            if (u < 0x20 || (u >= 0x0300 && (u < 0x0400 || u >= 0x0590))) return std::nullopt;
            double& advance = advances_[u];
            if (advance == 0.0) advance = std::max(1e-9, metrics_.horizontalAdvance(c));
            sum += advance;
        }
        return sum;
    }

  private:
    const QFontMetricsF& metrics_;
    Advances& advances_;
};

double displayHeightOf(const QFontMetricsF& metrics, Advances& advances, WidthCache& widths,
                       const QString& text, double width) {
    AdvanceCache cache(metrics, advances);
    const double usable = std::max(1.0, width - 2 * TextMeasurer::kCellInset);
    int lines = 0;
    for (const QStringView paragraph : QStringView(text).split(u'\n')) {
        const auto estimate = cache.estimate(paragraph);
        if (estimate && *estimate <= usable * kSureFit)
            lines += 1;
        else
            lines += linesOfParagraph(metrics, paragraph.toString(), usable, &widths);
    }
    return std::ceil(lines * metrics.lineSpacing());
}

bool isGuiThread() {
    auto* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

}  // namespace

// The display font's metrics, advances and word widths of one thread.
struct TextMeasurer::ThreadMetrics::Data {
    QFontMetricsF metrics{TextMeasurer::displayFont()};
    std::array<double, 0x0590> advances{};
    QHash<QString, double> widths;
};

namespace {

// The innermost ThreadMetrics of the calling thread, if any.
thread_local TextMeasurer::ThreadMetrics::Data* threadMetrics = nullptr;

}  // namespace

TextMeasurer::ThreadMetrics::ThreadMetrics() : previous_(threadMetrics) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    data_ = std::make_unique<Data>();
    threadMetrics = data_.get();
}

TextMeasurer::ThreadMetrics::~ThreadMetrics() {
    threadMetrics = previous_;
}

bool TextMeasurer::canMeasureOnThisThread() {
    return threadMetrics != nullptr || isGuiThread();
}

QFont TextMeasurer::displayFont() {
    QFont font(QStringLiteral("Helvetica"));
    font.setPixelSize(14);
    return font;
}

int TextMeasurer::wrappedLineCount(const QString& text, double width, const QFont& font) {
    return linesOfText(QFontMetricsF(font), text, width);
}

double TextMeasurer::cellHeight(const QString& text, double width) {
    if (ThreadMetrics::Data* own = threadMetrics; own != nullptr)
        return displayHeightOf(own->metrics, own->advances, own->widths, text, width);
    // The main thread's are built once and kept for the life of the process:
    // the table measures every line with them, and destroying font objects
    // after the application object is gone is not safe.
    static auto* gui = new ThreadMetrics::Data;
    return displayHeightOf(gui->metrics, gui->advances, gui->widths, text, width);
}

double TextMeasurer::cellHeight(const QString& text, double width, const QFont& font) {
    return heightOf(QFontMetricsF(font), text, width);
}

}  // namespace platform
