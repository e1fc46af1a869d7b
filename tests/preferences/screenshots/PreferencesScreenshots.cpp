// Opens the preferences window on a real display (run under scripts/with-display.sh), then
// its add-language popover over a local language index, and saves a picture
// of the screen for each: <folder>/preferences-panel.png and
// <folder>/preferences-popover.png, then the Remove list in
// <folder>/preferences-remove.png. Fails when a picture is missing or is of
// one colour only.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>

#include "platform/AppPaths.h"
#include "platform/TemporaryFolder.h"
#include "preferences/LanguageListController.h"
#include "preferences/LanguagePopover.h"
#include "preferences/PreferencesWindow.h"
#include "preferences/SCPreferencesController.h"
#include "preferences/SCToolTips.h"
#include "support/LocalHttpServer.h"
#include "tools/ApplicationContext.h"
#include "tools/InMemoryPreferenceStore.h"
#include "tools/SCPreferences.h"

namespace {

void settle(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(path.section(u'/', 0, -2));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(content);
}

// Saves the whole screen and tells whether the picture shows anything.
bool grab(const QString& path) {
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    if (shot.isNull() || !shot.save(path, "PNG")) {
        std::fprintf(stderr, "could not save %s\n", qPrintable(path));
        return false;
    }
    const QImage image = shot.toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < image.height() && colours.size() < 2; y += 3)
        for (int x = 0; x < image.width() && colours.size() < 2; x += 3)
            colours.insert(image.pixel(x, y));
    if (colours.size() < 2) std::fprintf(stderr, "%s holds one colour only\n", qPrintable(path));
    return colours.size() >= 2;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();

    QTemporaryDir scratch;
    platform::TemporaryFolder::setOverride(scratch.filePath("tmp"));
    QDir().mkpath(scratch.filePath("tmp"));
    platform::AppPaths::setOverrides(
        {.resourcesFolder = scratch.filePath("resources"), .userDataFolder = scratch.path()});
    const QString engine = scratch.filePath("Borvane/tesseract304/");
    for (const char* folder : {"jpeg", "leptonica", "lib", "libpng", "libtiff", "tessdata/configs"})
        QDir().mkpath(engine + folder);
    writeFile(engine + "tesseract", "");
    for (const char* language : {"deu", "eng", "fra", "ita"})
        writeFile(engine + "tessdata/" + language + ".traineddata", "data");
    writeFile(engine + "tessdata/configs/exclusions", "tessedit_char_blacklist |~{}");

    auto preferences = std::make_shared<SCPreferences>(std::make_shared<InMemoryPreferenceStore>());
    ApplicationContext::setAppPreferences(preferences);
    preferences->initializePreferences();
    preferences->modifyPreferencePanelDictionary([](std::optional<QVariantMap>& panel) {
        panel->insert("harnwickPath", "/opt/Harnwick/harnwick");
        panel->insert("exportEncoding", "WindowsLatin1");
    });

    testsupport::LocalHttpServer server;
    QByteArray index;
    for (const char* language : {"afr", "ara", "chi_sim", "deu", "eng", "fra", "heb", "jpn", "kor",
                                 "nld", "pol", "rus", "spa", "swe", "tur", "ukr"})
        index += QByteArray(language) + ".traineddata<br>";
    server.route("/tesseract/filesIndex.php", {.body = index});

    SCToolTips toolTips;
    SCPreferencesController controller([&] { return &toolTips; });
    controller.setLanguageDataSource(LanguageDataSource::breakSeparatedAt(server.url()));
    controller.intializeAfterPreferencesLoaded();

    controller.openPreferencesPanel();
    controller.window()->move(40, 40);
    settle(800);
    bool ok = grab(out + "/preferences-panel.png");

    controller.window()->findChild<QPushButton*>("addLanguageButton")->click();
    controller.languageListController()->setSelectedObjects({"chi_sim", "jpn"});
    settle(800);
    if (controller.languageListPopover() == nullptr ||
        !controller.languageListPopover()->isShown()) {
        std::fprintf(stderr, "the popover did not open\n");
        ok = false;
    }
    ok = grab(out + "/preferences-popover.png") && ok;

    controller.languageListPopover()->close();
    controller.window()->findChild<QPushButton*>("removeLanguageButton")->click();
    controller.languageListController()->setSelectedObjects({"fra"});
    settle(800);
    ok = grab(out + "/preferences-remove.png") && ok;

    ApplicationContext::setAppPreferences(nullptr);
    return ok ? 0 : 1;
}
