#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>

#include "ToolsFixture.h"

// A resources folder of fake tools, put in place with the AppPaths override,
// and an application folder inside the scratch folder, so that children run
// in a known working folder.
class FakeResources : public ToolsFixture {
  protected:
    void SetUp() override;

    QString resources() const { return path("resources"); }
    // Writes an executable "/bin/sh" script as the resources' ffmpeg/<name>.
    void fakeTool(const QString& name, const QByteArray& body) const;
    // Waits, with a bound, until a file exists.
    bool waitForFile(const QString& file,
                     std::chrono::milliseconds bound = std::chrono::seconds(30)) const;
    QByteArray readFile(const QString& file) const;
    // Texts separated by NUL bytes, as the fakes record them.
    static QStringList splitRecord(const QByteArray& record);
    // Files at any depth of the private temporary folder.
    QStringList temporaryFiles() const;
};
