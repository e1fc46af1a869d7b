#include "ToolsFixture.h"

#include <QDir>

#include "support/ScratchFiles.h"
#include "tools/ApplicationContext.h"
#include "tools/InMemoryPreferenceStore.h"
#include "tools/SCPreferences.h"

void ToolsFixture::SetUp() {
    ASSERT_TRUE(scratch.isValid());
    temporaryFolder.emplace(path("tmp"));
    preferences = std::make_shared<SCPreferences>(std::make_shared<InMemoryPreferenceStore>());
    installed.emplace(&ApplicationContext::setAppPreferences, preferences);
}

QString ToolsFixture::path(const QString& relative) const {
    return scratch.filePath(relative);
}

QString ToolsFixture::makeFolder(const QString& relative) const {
    const QString folder = path(relative);
    EXPECT_TRUE(QDir().mkpath(folder)) << folder.toStdString();
    return folder;
}

QString ToolsFixture::writeFile(const QString& relative, const QByteArray& content) const {
    return testsupport::ScratchFiles(scratch.path()).write(relative, content);
}

QString ToolsFixture::writeScript(const QString& relative, const QByteArray& body) const {
    return testsupport::ScratchFiles(scratch.path()).writeScript(relative, body);
}

void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

void PrintTo(const QByteArray& bytes, std::ostream* out) {
    *out << '"' << bytes.toStdString() << '"';
}

void PrintTo(const QUrl& url, std::ostream* out) {
    *out << url.toString().toStdString();
}
