#include "PreferencesFixture.h"

#include <QDir>

#include "platform/AppPaths.h"
#include "platform/LogSink.h"
#include "platform/TemporaryFolder.h"
#include "support/EventLoop.h"
#include "support/ScratchFiles.h"
#include "tools/ApplicationContext.h"
#include "tools/InMemoryPreferenceStore.h"

void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

void PrintTo(const QStringList& texts, std::ostream* out) {
    *out << '[' << texts.join(QStringLiteral("|")).toStdString() << ']';
}

void PreferencesFixture::SetUp() {
    ASSERT_TRUE(scratch.isValid());
    QDir().mkpath(path("tmp"));
    temporaryFolder.emplace(path("tmp"));
    QDir().mkpath(path("resources"));
    appPaths.emplace(platform::AppPaths::Overrides{.resourcesFolder = path("resources"),
                                                   .userDataFolder = path("data")});
    const QString engine = path("data/Borvane/tesseract304/");
    for (const char* folder : {"jpeg", "leptonica", "lib", "libpng", "libtiff", "tessdata/configs"})
        QDir().mkpath(engine + folder);
    writeFile(engine + "tesseract", "#!/bin/sh\n");

    preferences = std::make_shared<SCPreferences>(std::make_shared<InMemoryPreferenceStore>());
    installed.emplace(&ApplicationContext::setAppPreferences, preferences);
    preferences->initializePreferences();
    logHook.emplace(&platform::LogSink::setCaptureHook,
                    [this](const QString& entry) { logged.append(entry); });
    toolTips = std::make_unique<SCToolTips>();
    makeController();
}

void PreferencesFixture::TearDown() {
    controller.reset();
    toolTips.reset();
    testsupport::drainMainQueue(10);
    logHook.reset();
    installed.reset();
    appPaths.reset();
    temporaryFolder.reset();
}

void PreferencesFixture::makeController(SCPreferencesController::DownloaderFactory factory) {
    controller.reset();
    controller = std::make_unique<SCPreferencesController>([this] { return toolTips.get(); },
                                                           std::move(factory));
}

QString PreferencesFixture::tessdata() const {
    return path("data/Borvane/tesseract304/tessdata");
}

QString PreferencesFixture::writeFile(const QString& file, const QByteArray& content) const {
    return testsupport::ScratchFiles(scratch.path()).write(file, content);
}

QString PreferencesFixture::writeTessdata(const QString& name, const QByteArray& content) const {
    return writeFile(tessdata() + u'/' + name, content);
}

QStringList PreferencesFixture::tessdataEntries() const {
    return QDir(tessdata())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                   QDir::Name);
}

void PreferencesFixture::startOver(const QStringList& files) {
    QDir(tessdata()).removeRecursively();
    QDir().mkpath(tessdata() + "/configs");
    for (const QString& file : files) writeTessdata(file);
    makeController();
}

void PreferencesFixture::setPanelEntry(const QString& key, const QVariant& value) {
    preferences->modifyPreferencePanelDictionary(
        [&](std::optional<QVariantMap>& dictionary) { dictionary->insert(key, value); });
}
