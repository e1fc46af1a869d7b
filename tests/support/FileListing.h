#pragma once

#include <QString>
#include <QStringList>

namespace testsupport {

// The files (and links) at any depth below the folder whose name matches
// the pattern (a regular expression; none: every one), as paths relative to
// the folder, sorted. Folders themselves are not listed.
QStringList filesBelow(const QString& folder, const QString& namePattern = {});

}  // namespace testsupport
