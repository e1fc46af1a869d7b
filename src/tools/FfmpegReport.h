#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// ffmpeg's report on a media file given as its only input: how it is asked
// for, and what is read out of it. Pure functions, so that recorded reports
// can be fed to them.

// "-i", the path, "-hide_banner".
QStringList ffmpegFileInfoArguments(const QString& path);

struct FfmpegPictureSize {
    qint64 width = 0;
    qint64 height = 0;
    bool operator==(const FfmpegPictureSize&) const = default;
};

struct FfmpegFileInfo {
    // The first "WIDTHxHEIGHT" on a "Stream #" line (the "[… @ 0x…]" tags
    // of ffmpeg's log lines and the codec tags "0x…" are no sizes); none
    // when there is none or a number does not fit in 64 bits.
    std::optional<FfmpegPictureSize> size;
    // The number after the first "start:", read strictly (no locale, the
    // whole text); 0 when there is none or it does not read.
    double startTime = 0;
};

FfmpegFileInfo parseFfmpegFileInfo(const QString& report);
