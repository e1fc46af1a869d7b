#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// ffprobe's JSON description of a media file: how it is asked for, and the
// streams read out of it. Pure functions, so that recorded reports can be
// fed to them.

// "-i", the path, "-show_streams", "-show_chapters", "-print_format", "json".
QStringList ffprobeStreamsAndChaptersArguments(const QString& path);

// "-i", the path, "-show_streams", "-print_format", "json".
QStringList ffprobeStreamsArguments(const QString& path);

struct FfprobeStream {
    qint64 index = -1;
    QString codecType;  // "video", "audio", "subtitle", …
    QString codecName;
    qint64 width = 0;  // 0 for streams without pictures
    qint64 height = 0;
    QString language;  // the "language" tag, or empty
    bool operator==(const FfprobeStream&) const = default;
};

// The "streams" of the report in their order; none when the bytes are not a
// JSON object with a "streams" list (ffprobe's error text, for instance).
std::optional<QList<FfprobeStream>> parseFfprobeStreams(const QByteArray& json);
