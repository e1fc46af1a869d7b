#include "tools/SCMoviePlayer.h"

#include <charconv>
#include <cmath>

#include "common/HelperFunctions.h"
#include "platform/AppPaths.h"
#include "tools/ChildEnvironments.h"
#include "tools/FfplayErrorOutput.h"
#include "tools/FilterEscaping.h"
#include "tools/ToolLocation.h"

SCMoviePlayer::Playback SCMoviePlayer::playMovieUrl(
    const QUrl& movie, const std::optional<QUrl>& withSubtitleURL, double atTime,
    const platform::CancellationFlag& cancellation) const {
    return runFfplay(ffplayArguments(movie, withSubtitleURL, atTime), cancellation);
}

QStringList SCMoviePlayer::ffplayArguments(const QUrl& movie,
                                           const std::optional<QUrl>& withSubtitleURL,
                                           double atTime) {
    QStringList arguments{QStringLiteral("-i"),   movie.toLocalFile(),
                          QStringLiteral("-ss"),  timeArgument(atTime),
                          QStringLiteral("-af"),  QStringLiteral("aformat=channel_layouts=stereo"),
                          QStringLiteral("-sst"), QStringLiteral("111")};
    if (withSubtitleURL) {
        arguments << QStringLiteral("-vf")
                  << QStringLiteral("subtitles=") +
                         escapedForFilterGraph(withSubtitleURL->toLocalFile());
    }
    return arguments;
}

QString SCMoviePlayer::timeArgument(double seconds) {
    if (!std::isfinite(seconds) || seconds <= 0) return QStringLiteral("0.0");
    // Plain notation of the largest double takes 309 digits.
    char buffer[400];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, seconds, std::chars_format::fixed);
    QString text = QString::fromLatin1(buffer, written.ptr - buffer);
    if (!text.contains(u'.')) text += QStringLiteral(".0");
    return text;
}

platform::EnvironmentDictionary SCMoviePlayer::updateTaskEnvironmentDictionaryForBinary(
    const QString& name, const platform::EnvironmentDictionary& andDictionary) {
    const QString lower = name.toLower();
    if (lower != u"ffmpeg" && lower != u"ffplay") return andDictionary;
    return ::updateTaskEnvironmentDictionaryForBinary(lower, andDictionary);
}

SCMoviePlayer::Playback SCMoviePlayer::runFfplay(
    const QStringList& forOptions, const platform::CancellationFlag& cancellation) const {
    const QUrl ffplay = urlOfApp(QStringLiteral("ffplay")).value_or(QUrl());
    platform::ChildProcess::Options options;
    options.workingDirectory = platform::AppPaths::childWorkingDirectory();
    options.environment = updateTaskEnvironmentDictionaryForBinary(
        QStringLiteral("ffplay"), platform::ChildProcess::currentEnvironment());
    options.output = platform::ChildProcess::Output::Captured;
    options.keptBytes = kKeptOutput;
    options.cancellation = cancellation;  // films are long: no time limit
    platform::ChildProcess child(ffplay.toLocalFile(), forOptions, options);
    const auto started = std::chrono::steady_clock::now();
    if (!child.start()) qpl(child.result().errorText);
    const platform::ChildProcess::Result& result = child.waitForFinished();
    const auto ran = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - started);
    const qsizetype input = forOptions.indexOf(QStringLiteral("-i"));
    return judge(result, ran, input >= 0 ? forOptions.value(input + 1) : QString());
}

SCMoviePlayer::Playback SCMoviePlayer::judge(const platform::ChildProcess::Result& child,
                                             std::chrono::milliseconds ran,
                                             const QString& moviePath) {
    using Outcome = platform::ChildProcess::Outcome;
    Playback playback;
    switch (child.outcome) {
        case Outcome::NotStarted:
        case Outcome::FailedToStart:
            playback.ending = child.errorText;
            return playback;
        case Outcome::Cancelled:
        case Outcome::TimedOut:
            playback.end = Playback::End::Stopped;
            return playback;
        case Outcome::Running:
        case Outcome::Exited:
        case Outcome::Signalled:
            break;
    }
    const FfplayErrorOutput output(child.standardError, moviePath);
    const bool failed = !child.succeeded() || output.saysMovieUnreadable();
    if (!failed || ran >= kFailureWindow) {
        playback.end = Playback::End::Ended;
        return playback;
    }
    playback.end = Playback::End::Failed;
    playback.said = output.failureLines();
    playback.ending =
        child.exited() ? QStringLiteral("exit status %1").arg(child.exitStatus) : child.errorText;
    return playback;
}
