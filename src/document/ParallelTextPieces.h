#pragma once

#include <QString>
#include <cstddef>
#include <functional>

// Builds a document's text for a run of lines in pieces of consecutive
// lines, handed over in order. A large document's pieces are built on
// several threads while the caller takes the finished ones (to encode and
// write them), a bounded number ahead, so the whole text is never held.
// The builder only reads: it must not change or lazily fill in anything.
class ParallelTextPieces {
  public:
    // Appends the text of the lines [first, end) to `text`.
    using Build = std::function<void(QString& text, std::size_t first, std::size_t end)>;
    // Takes the next piece, on the calling thread; false stops the run.
    using Sink = std::function<bool(QString piece)>;

    // False when the sink stopped the run.
    static bool run(std::size_t count, const Build& build, const Sink& sink);

    static constexpr std::size_t kLinesPerPiece = 512;
    // Below this many lines the calling thread builds every piece.
    static constexpr std::size_t kMinimumForThreads = 2000;
};
