#include "FakeResources.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include "platform/AppPaths.h"
#include "support/FileListing.h"
#include "tools/SCPreferences.h"

void FakeResources::SetUp() {
    ToolsFixture::SetUp();
    makeFolder("app/bin");
    makeFolder("resources/fonts");
    makeFolder("record");
    appPaths.set({.bundleFolder = path("app/bin"),
                  .resourcesFolder = resources(),
                  .userDataFolder = std::nullopt});
    preferences->setToolsLocationURL(QUrl::fromLocalFile(resources()));
}

void FakeResources::fakeTool(const QString& name, const QByteArray& body) const {
    writeScript("resources/ffmpeg/" + name, body);
}

bool FakeResources::waitForFile(const QString& file, std::chrono::milliseconds bound) const {
    QElapsedTimer timer;
    timer.start();
    while (!QFileInfo::exists(file)) {
        if (timer.elapsed() > bound.count()) return false;
        QThread::msleep(10);
    }
    return true;
}

QByteArray FakeResources::readFile(const QString& file) const {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) return {};
    return in.readAll();
}

QStringList FakeResources::splitRecord(const QByteArray& record) {
    QStringList texts;
    for (const QByteArray& part : record.split('\0')) texts.append(QString::fromUtf8(part));
    if (!texts.isEmpty() && texts.last().isEmpty()) texts.removeLast();
    return texts;
}

QStringList FakeResources::temporaryFiles() const {
    return testsupport::filesBelow(path("tmp"));
}
