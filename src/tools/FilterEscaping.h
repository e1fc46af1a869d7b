#pragma once

#include <QString>

// A text as one option value inside an ffmpeg filter graph given as one
// argument ("subtitles=" followed by it): a backslash before each of
// \ ' : = for the option level, then before each of \ ' [ ] , ; for the
// graph level, since ffmpeg unescapes the two levels one after the other.
// White space at either end of a level's text is escaped too: each level
// drops it otherwise.
QString escapedForFilterGraph(const QString& value);
