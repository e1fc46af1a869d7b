#pragma once

#include <cstddef>
#include <functional>

#include "document/SCSubtitleLine.h"

// Parses the cues or events of a large file on several threads at once. Each
// item is independent, so the lines come back in file order whatever thread
// made them; items the parse drops (null results) are left out. The threads
// hold font metrics of their own (TextMeasurer::ThreadMetrics), so a parse
// may measure text there.
class ParallelLineParse {
  public:
    using Parse = std::function<SCSubtitleLinePtr(std::size_t index)>;

    static SCSubtitleLineList run(std::size_t count, const Parse& parse);

    // How many threads a parse of `count` items uses.
    static std::size_t threadCount(std::size_t count);
    // Prepares, in the background, what a parse of a file of `bytes` bytes
    // will need on its threads (the dictionaries of the spell check), while
    // the file is still being read. Returns at once.
    static void prepareForFile(qint64 bytes);

    // Below this many items one thread does all the work.
    static constexpr std::size_t kMinimumForThreads = 512;
};
