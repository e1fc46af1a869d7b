#include "platform/TextMeasurer.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QTextLayout>
#include <thread>
#include <vector>

using platform::TextMeasurer;

namespace {

// Lines that a full text layout makes of the text at the same usable width.
int layoutLineCount(const QString& text, double width, const QFont& font) {
    int lines = 0;
    for (const QString& paragraph : text.split(u'\n')) {
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        int count = 0;
        while (true) {
            QTextLine line = layout.createLine();
            if (!line.isValid()) break;
            line.setLineWidth(width);
            ++count;
        }
        layout.endLayout();
        lines += std::max(1, count);
    }
    return lines;
}

}  // namespace

// The cheap measurement must wrap like a real layout, or rows are cut off.
TEST(TextMeasurer, WrapsLikeAFullLayout) {
    const QFont font = TextMeasurer::displayFont();
    const QString texts[] = {
        "",
        "Hello",
        "Two\nlines",
        "A fairly long subtitle line that should wrap once or twice in a narrow column of text",
        "Supercalifragilisticexpialidocious-antidisestablishmentarianism-without-any-blank",
        "Words  with   several    blanks     between      them       repeated        often",
        "First paragraph is short\nsecond paragraph is a good deal longer and wraps around",
    };
    for (double width : {80.0, 150.0, 386.0}) {
        for (const QString& text : texts) {
            EXPECT_EQ(TextMeasurer::wrappedLineCount(text, width, font),
                      layoutLineCount(text, width, font))
                << text.toStdString() << " at " << width;
        }
    }
}

TEST(TextMeasurer, HeightGrowsByWholeLines) {
    const QFontMetricsF metrics(TextMeasurer::displayFont());
    const double one = TextMeasurer::cellHeight("Hello", 390.0);
    EXPECT_EQ(one, std::ceil(metrics.lineSpacing()));
    EXPECT_EQ(TextMeasurer::cellHeight("", 390.0), one);
    EXPECT_EQ(TextMeasurer::cellHeight("Hello\nWorld", 390.0),
              std::ceil(2 * metrics.lineSpacing()));
}

// The display font's shortcut for paragraphs that plainly fit must not change
// any height: compare it with the exact path over widths around the fit.
TEST(TextMeasurer, ShortcutForTheDisplayFontChangesNoHeight) {
    const QFont font = TextMeasurer::displayFont();
    const QString texts[] = {
        "I was at home, reading line 4242,\nand nobody can say otherwise.",
        "Where were you on the night of the 12th?",
        "fi fl ffi AVAVAVAV To Ty Wa",
        QString::fromUtf8("Привет, как дела? Всё хорошо."),
        "Tab\tseparated\ttext",
    };
    for (const QString& text : texts) {
        for (double width = 40.0; width <= 420.0; width += 7.0) {
            EXPECT_EQ(TextMeasurer::cellHeight(text, width),
                      TextMeasurer::cellHeight(text, width, font))
                << text.toStdString() << " at " << width;
        }
    }
}

// Threads holding metrics of their own measure every cell as the main thread
// does, several at once (a large load measures on all its parsing threads).
TEST(TextMeasurer, WorkerThreadsMeasureAsTheMainThreadDoes) {
    const QString texts[] = {
        "",
        "Hello",
        "Where were you on the night of the 12th?",
        "Two lines\nof dialogue",
        "\n",
        "A fairly long subtitle line that should wrap once or twice in a narrow column, and "
        "then a second sentence that goes on well past the width of any cell",
        "Supercalifragilisticexpialidocious-antidisestablishmentarianism-without-any-blank",
        QString::fromUtf8("José, Zoë and Björn meet François at the café"),
        QString::fromUtf8("Привет, как дела? Всё хорошо.\nשלום עולם"),
        QString::fromUtf8("東京へ行きます。\n😀 emoji and e\u0301 combining"),
        "fi fl ffi AVAVAVAV To Ty Wa\tTab",
    };
    const double widths[] = {40.0, 96.0, 150.0, 250.0, 386.0, 390.0, 600.0};
    std::vector<double> expected;
    for (const QString& text : texts)
        for (double width : widths) expected.push_back(TextMeasurer::cellHeight(text, width));

    ASSERT_TRUE(TextMeasurer::canMeasureOnThisThread());
    constexpr int kThreads = 4;
    std::vector<std::vector<double>> measured(kThreads);
    std::vector<char> couldBefore(kThreads), couldDuring(kThreads), couldAfter(kThreads);
    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t) {
        workers.emplace_back([&, t] {
            couldBefore[t] = TextMeasurer::canMeasureOnThisThread();
            {
                const TextMeasurer::ThreadMetrics metrics;
                couldDuring[t] = TextMeasurer::canMeasureOnThisThread();
                // Twice over: the second pass reads the advances and word widths
                // the first cached.
                for (int pass = 0; pass < 2; ++pass) {
                    measured[t].clear();
                    for (const QString& text : texts)
                        for (double width : widths)
                            measured[t].push_back(TextMeasurer::cellHeight(text, width));
                }
            }
            couldAfter[t] = TextMeasurer::canMeasureOnThisThread();
        });
    }
    for (auto& worker : workers) worker.join();
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_FALSE(couldBefore[t]);
        EXPECT_TRUE(couldDuring[t]);
        EXPECT_FALSE(couldAfter[t]);
        ASSERT_EQ(measured[t].size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(measured[t][i], expected[i])
                << texts[i / std::size(widths)].toStdString() << " at "
                << widths[i % std::size(widths)] << " on thread " << t;
    }
}
