#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

#include "platform/ChildProcess.h"

// Plays a movie from a chosen moment in the carried ffplay, with a subtitle
// file drawn over the picture. Keeps nothing between calls.
class SCMoviePlayer {
  public:
    // Returns once ffplay has ended (the user closed it, or the flag stopped
    // it); false when ffplay could not be started. Blocks the calling thread
    // for as long as the film plays: call it off the main thread.
    bool playMovieUrl(const QUrl& movie, const std::optional<QUrl>& withSubtitleURL, double atTime,
                      const platform::CancellationFlag& cancellation = {}) const;

    // ffplay's arguments: eight, or ten with the subtitle filter.
    static QStringList ffplayArguments(const QUrl& movie,
                                       const std::optional<QUrl>& withSubtitleURL, double atTime);

    // Seconds as the shortest decimal that reads back as the same number, in
    // plain notation with at least one fraction digit, whatever the locale
    // ("0.0", "60.0", "83.417", "0.0000001"). Negative or not finite: "0.0".
    static QString timeArgument(double seconds);

    // The font configuration of the resources for "ffmpeg" and "ffplay"
    // (whatever the case), replacing entries of the same names; any other
    // name gets the dictionary back unchanged.
    static platform::EnvironmentDictionary updateTaskEnvironmentDictionaryForBinary(
        const QString& name, const platform::EnvironmentDictionary& andDictionary);

    // Runs ffplay with these arguments in the children's working folder, its
    // output on the application's own streams, and waits until it has ended
    // or the flag stopped it (terminate, then kill). False, and a log entry,
    // when it could not be started.
    bool runFfplay(const QStringList& forOptions,
                   const platform::CancellationFlag& cancellation = {}) const;
};
