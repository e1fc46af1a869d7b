#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <chrono>
#include <optional>

#include "platform/ChildProcess.h"

// Plays a movie from a chosen moment in the carried ffplay, with a subtitle
// file drawn over the picture. Keeps nothing between calls.
class SCMoviePlayer {
  public:
    // An ffplay that ends with a failure this soon never played the movie;
    // one that ends later has been watched, and its end is the user's.
    static constexpr std::chrono::seconds kFailureWindow{10};
    // Of each output stream only the end is kept: ffplay talks all along.
    static constexpr qsizetype kKeptOutput = 64 * 1024;

    // How a preview ended.
    struct Playback {
        enum class End {
            NotStarted,  // ffplay could not be started
            Stopped,     // the cancellation flag ended it
            Ended,       // closed by the user, or after it had played a while
            Failed,      // ended with a failure within its first seconds
        };
        End end = End::NotStarted;
        // When it failed: what ffplay said about the failure (none when it
        // said nothing), and how it ended, "exit status 1" or "ended by
        // signal 11". When it could not be started: why.
        QStringList said;
        QString ending;
    };

    // Returns once ffplay has ended (the user closed it, or the flag stopped
    // it). Blocks the calling thread for as long as the film plays: call it
    // off the main thread.
    Playback playMovieUrl(const QUrl& movie, const std::optional<QUrl>& withSubtitleURL,
                          double atTime, const platform::CancellationFlag& cancellation = {}) const;

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

    // Runs ffplay with these arguments in the children's working folder,
    // its output read, and waits until it has ended or the flag stopped it
    // (terminate, then kill). A log entry when it could not be started.
    Playback runFfplay(const QStringList& forOptions,
                       const platform::CancellationFlag& cancellation = {}) const;

    // How an ffplay run of that long on that movie ended. ffplay ends with
    // status 0 when it cannot read the movie; only its words tell.
    static Playback judge(const platform::ChildProcess::Result& child,
                          std::chrono::milliseconds ran, const QString& moviePath);
};
