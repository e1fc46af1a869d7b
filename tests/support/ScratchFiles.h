#pragma once

#include <QByteArray>
#include <QString>

namespace testsupport {

// Lays out the files a test needs in its scratch folder: plain files, and
// fake tools as executable "/bin/sh" scripts. A relative path starts in the
// folder, an absolute one stays as it is; the folders on the way are made,
// and a file that cannot be written fails the test.
class ScratchFiles {
  public:
    explicit ScratchFiles(QString folder);

    // Each returns the file's path.
    QString write(const QString& file, const QByteArray& content) const;
    QString writeScript(const QString& file, const QByteArray& body) const;

  private:
    QString folder_;
};

}  // namespace testsupport
