#pragma once

#include <QString>

namespace platform {

// The application's private temporary folder: per user, mode 0700, so that
// temporary exports and working files are not readable by other users of a
// shared /tmp. The path always ends in "/".
class TemporaryFolder {
  public:
    // Creates the folder if needed; empty when it cannot be made safe.
    static QString path();

    // Tests point it elsewhere; an empty text restores the default.
    static void setOverride(const QString& folder);
};

}  // namespace platform
