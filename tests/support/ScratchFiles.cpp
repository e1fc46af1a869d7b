#include "support/ScratchFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <utility>

namespace testsupport {

ScratchFiles::ScratchFiles(QString folder) : folder_(std::move(folder)) {}

QString ScratchFiles::write(const QString& file, const QByteArray& content) const {
    const QString path = QDir(folder_).filePath(file);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile out(path);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(content) == content.size())
        << path.toStdString();
    return path;
}

QString ScratchFiles::writeScript(const QString& file, const QByteArray& body) const {
    const QString path = write(file, "#!/bin/sh\n" + body + "\n");
    EXPECT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        << path.toStdString();
    return path;
}

}  // namespace testsupport
