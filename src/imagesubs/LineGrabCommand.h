#pragma once

#include <QString>
#include <QStringList>

// The ffmpeg command that grabs one line's picture from the temporary
// Matroska file: pure functions, so that tests and benchmarks build the very
// same command.

struct GrabSize {
    qint64 width = 0;
    qint64 height = 0;
    bool operator==(const GrabSize&) const = default;
};

// 1280 × 720 when the picture is wider than 1280, else the picture's size
// unchanged.
GrabSize grabSizeFor(qint64 width, qint64 height);

// Seconds in fixed-point decimal, without the locale ("0.00001", never
// "1e-05", which ffmpeg refuses), trailing zeros dropped.
QString grabTimeText(double seconds);

// "-ss", the time, "-noaccurate_seek", "-i", the file, "-filter_complex", the
// graph that lays the subtitle stream scaled to W×H over a black W×H picture
// and keeps the most representative of 5 frames, "-loglevel", "error" (a
// failed grab says why, and nothing else is said), "-map", "[out]",
// "-pix_fmt", "rgb24", "-vcodec", "png", "-vframes", "1", "-y", the output:
// each one argument, for a start without a shell.
QStringList lineGrabArguments(double atTime, const QString& filePath, GrabSize size,
                              const QString& outputPath);
