#pragma once

#include <QList>
#include <set>

#include "document/SCSubtitleLine.h"

// Puts the lines of a picture-subtitle import in line-number order, whatever
// order they arrive in. Numbers of lines dropped on arrival count as used, so
// no later line waits for them; lines that arrive ahead of their turn wait in
// the caller's buffer (kept in arrival order) and are looked up by number.
class ImageLineIntake {
  public:
    // A line that arrived, with whether it is to be dropped. Gives the lines
    // to append now, in order, and takes them out of `waiting`.
    SCSubtitleLineList take(const SCSubtitleLinePtr& line, bool dropped,
                            SCSubtitleLineList& waiting);

    // At the end of the import: every line still waiting, in number order.
    SCSubtitleLineList finish(SCSubtitleLineList& waiting);

  private:
    SCSubtitleLineList drain(SCSubtitleLineList& waiting);

    qint64 next_ = 0;
    std::set<qint64> usedAhead_;  // dropped numbers above `next_`
};
