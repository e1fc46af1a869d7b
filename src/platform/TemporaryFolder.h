#pragma once

#include <QString>

namespace platform {

// The application's private temporary folder: per user, mode 0700, so that
// temporary exports and working files are not readable by other users of a
// shared /tmp. The path always ends in "/".
//
// It is the only temporary folder: files that outlive the run (a temporary
// export handed to another application) go here, a run's working files and
// links to its RunFolder inside it. Where it cannot be made safe, nothing
// temporary is written anywhere, never in the shared /tmp instead.
class TemporaryFolder {
  public:
    // Creates the folder if needed; empty when it cannot be made safe.
    static QString path();

    // Tests point it elsewhere; an empty text restores the default.
    static void setOverride(const QString& folder);
};

}  // namespace platform
