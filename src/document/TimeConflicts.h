#pragma once

#include <QString>
#include <vector>

// Time conflicts between neighbouring lines, computed over copied times so
// that the search can run on any thread while the lines themselves are only
// touched on the main thread.
class TimeConflicts {
  public:
    struct Input {
        double start = 0;
        double end = 0;
        bool excluded = false;
    };

    // One result per input position; excluded lines keep the empty mark and
    // zero amounts.
    struct LineResult {
        QString mark;
        double endOverlap = 0;
        double startOverlap = 0;
    };

    struct Result {
        std::vector<LineResult> lines;
        qint64 count = 0;  // pairs, so it may pass what an int holds
    };

    // Which lines conflict with themselves or with lines after them, by how
    // much neighbours overlap, and how many conflicts there are.
    static Result search(const std::vector<Input>& lines);

    struct RepairLine {
        double start = 0;
        double end = 0;
        QString mark;
        double endOverlap = 0;
    };

    // Closes the overlap of every line marked "End Overlap" with the first
    // later line marked "Start Overlap" or "Both Overlap", each giving up a
    // share in proportion to its duration. Marks are not changed, so one
    // partner may serve several lines with its start as already moved.
    // Returns whether any time changed.
    static bool repair(std::vector<RepairLine>& lines);
};
