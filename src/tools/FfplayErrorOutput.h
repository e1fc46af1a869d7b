#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// ffplay's error output read for why it could not play a movie. ffplay first
// prints its version banner and build configuration, and while it runs a
// status line that rewrites itself with carriage returns; neither says
// anything about the movie, so both are left out.
class FfplayErrorOutput {
  public:
    // At most this many lines of at most this many characters are given.
    static constexpr int kMostLines = 4;
    static constexpr int kLongestLine = 200;

    FfplayErrorOutput(const QByteArray& standardError, const QString& moviePath);

    // ffplay said it could not open or read the movie. It ends with status 0
    // all the same, so this is the only sign of it.
    bool saysMovieUnreadable() const { return movieLine_ >= 0; }

    // What says what failed: ffplay's line about the movie with the library
    // messages just before it, or else its last lines.
    QStringList failureLines() const;

  private:
    QStringList lines_;
    int movieLine_ = -1;
};
