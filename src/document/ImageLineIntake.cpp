#include "document/ImageLineIntake.h"

#include <algorithm>

SCSubtitleLineList ImageLineIntake::take(const SCSubtitleLinePtr& line, bool dropped,
                                         SCSubtitleLineList& waiting) {
    const qint64 number = line->userIndex();
    if (dropped) {
        if (number > next_) usedAhead_.insert(number);
        if (number != next_) return {};
        ++next_;
        return drain(waiting);
    }
    if (number != next_) {
        // A number already passed can only come from a repeated delivery; it
        // still reaches the document, after the lines in order.
        waiting.append(line);
        return {};
    }
    SCSubtitleLineList appended{line};
    ++next_;
    appended += drain(waiting);
    return appended;
}

SCSubtitleLineList ImageLineIntake::drain(SCSubtitleLineList& waiting) {
    SCSubtitleLineList appended;
    for (;;) {
        if (usedAhead_.erase(next_) > 0) {
            ++next_;
            continue;
        }
        const auto it = std::find_if(waiting.begin(), waiting.end(),
                                     [this](const auto& l) { return l->userIndex() == next_; });
        if (it == waiting.end()) return appended;
        appended.append(*it);
        waiting.erase(it);
        ++next_;
    }
}

SCSubtitleLineList ImageLineIntake::finish(SCSubtitleLineList& waiting) {
    SCSubtitleLineList rest = std::move(waiting);
    waiting.clear();
    std::stable_sort(rest.begin(), rest.end(),
                     [](const auto& a, const auto& b) { return a->userIndex() < b->userIndex(); });
    return rest;
}
