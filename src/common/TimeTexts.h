#pragma once

#include <QString>
#include <optional>

// Times are seconds (double) from the start of the video. Texts are shown
// like a clock: modulo 24 hours. SRT form "HH:mm:ss,SSS", ASS form "H:mm:ss.SS".

// Seconds of a time text in either strict form, or of a lenient reading
// (hours of 24 or more, signs, stray characters); no value otherwise.
std::optional<double> doubleTimeFromStringTime(const QString& theTime);

// The seconds that a time text of this many milliseconds (0 or more) reads
// as, to the last bit: what a user who types a time the program shows gets.
double doubleTimeFromMilliseconds(long long milliseconds);

QString srtTimeStringFromDoubleTime(double theTime);
QString assTimeStringFromDoubleTime(double theTime);

// The SRT text of a strict ASS text and the other way round; no value for
// anything else.
std::optional<QString> timeStringConvertedFrom(const QString& theTime);

// "[" → "\[", "]" → "\]", "'" → "'''".
QString addEscapeCharactersTo(const QString& text);
