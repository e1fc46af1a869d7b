#pragma once

#include <QFont>
#include <QString>
#include <memory>

namespace platform {

// Height of a wrapped, borderless text cell, as the dialog table sizes its
// rows. Uses font metrics and a greedy word wrap rather than a full text
// layout: the table asks once per line, and a load measures every line.
// Call on the main thread, or on a thread that holds a ThreadMetrics.
class TextMeasurer {
  public:
    // Lets the thread that makes it measure display cells itself while it
    // lives, with font metrics of its own: Qt's fonts are reentrant, not
    // shared between threads (a font object caches the engine of the thread
    // that used it last). Make it on the worker thread, and end it before
    // the thread ends and while the application object exists. Without a
    // QGuiApplication it does nothing. Nested ones are allowed.
    class ThreadMetrics {
      public:
        ThreadMetrics();
        ~ThreadMetrics();
        ThreadMetrics(const ThreadMetrics&) = delete;
        ThreadMetrics& operator=(const ThreadMetrics&) = delete;

        struct Data;

      private:
        std::unique_ptr<Data> data_;
        Data* previous_ = nullptr;
    };

    // Whether `cellHeight(text, width)` may run on the calling thread: the
    // main thread, or one holding a ThreadMetrics.
    static bool canMeasureOnThisThread();

    // The face the dialog display uses: "Helvetica" at 14 points, one point
    // being one device-independent pixel.
    static QFont displayFont();

    // Height of `text` wrapped at word boundaries into `width` points
    // (less the cell's inner margins). Paragraphs are split at line feeds;
    // an empty text is one line high. A word wider than the cell overflows
    // its line rather than being cut, as a word-wrapping layout does.
    static double cellHeight(const QString& text, double width);
    static double cellHeight(const QString& text, double width, const QFont& font);

    // Lines that the wrap makes of `text` in `width` points of usable width.
    static int wrappedLineCount(const QString& text, double width, const QFont& font);

    // Horizontal inset on each side of the cell's text.
    static constexpr double kCellInset = 2.0;
};

}  // namespace platform
