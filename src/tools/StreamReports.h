#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>

#include "tools/ToolRunResult.h"

// What the carried media tools report on a file, unparsed (FfmpegReport and
// FfprobeReport read them). Each runs one child, waits for it (within the
// limits given) and returns standard output on exit status 0, standard
// error otherwise; none when nothing was printed, the text is not text, or
// the tool could not be started.

// ffmpeg's report on the file as its input ("-i", path, "-hide_banner").
std::optional<QString> findFfmpegFileInfo(const QUrl& forFileURL, const ToolRunLimits& limits = {});

// ffprobe's streams and chapters in JSON.
std::optional<QString> findFfprobeJsonString(const QUrl& forFileURL,
                                             const ToolRunLimits& limits = {});

// ffprobe's streams in JSON, as bytes.
std::optional<QByteArray> findFfprobeJsonData(const QUrl& forFileURL,
                                              const ToolRunLimits& limits = {});
