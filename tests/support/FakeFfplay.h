#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "platform/ChildProcess.h"

namespace testsupport {

// A stand-in for ffplay: an executable "/bin/sh" script that records what it
// was given (its arguments, environment and working folder) in a folder of
// the test's, creates "started" there, writes the given error output, then
// either plays until the test releases it (at most 30 s) or ends at once,
// creates "ended" and exits with the given status.
class FakeFfplay {
  public:
    struct Behaviour {
        QByteArray errorOutput{};
        int exitStatus = 0;
        bool playsUntilReleased = true;
    };

    explicit FakeFfplay(QString recordFolder);

    // What ffplay writes first on its error output whatever happens: its
    // version banner with its build configuration.
    static QByteArray banner();
    // Its status line while it runs, which rewrites itself.
    static QByteArray statusLine();

    // Writes the script as `program` (its folder made when missing).
    void install(const QString& program, const Behaviour& behaviour) const;
    void install(const QString& program) const { install(program, Behaviour()); }

    // Lets a playing fake end.
    void release() const;
    // Forgets what the last run recorded, and the release.
    void forget() const;

    // A file of the record folder: "started", "ended", "args", "env", "cwd".
    QString recorded(const QString& name) const;
    bool started() const;
    bool ended() const;
    QStringList arguments() const;
    platform::EnvironmentDictionary environment() const;
    QString workingFolder() const;

  private:
    QByteArray read(const QString& name) const;

    QString folder_;
};

}  // namespace testsupport
