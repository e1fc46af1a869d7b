#include <QFile>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <thread>

#include "AlertAnswerer.h"
#include "PreferencesFixture.h"
#include "platform/NotificationCenter.h"
#include "preferences/LanguageListController.h"
#include "preferences/LanguagePopover.h"
#include "preferences/PreferencesWindow.h"
#include "support/EventLoop.h"
#include "support/LocalHttpServer.h"
#include "tools/SCDownloader.h"

namespace {

using testsupport::LocalHttpServer;

// The popover's Download list over a local server, with the real downloader;
// every downloader the controller makes is counted.
class LanguageDownloads : public PreferencesFixture {
  protected:
    void SetUp() override {
        PreferencesFixture::SetUp();
        makeController([this] {
            ++downloadersMade;
            return std::make_shared<SCDownloader>();
        });
        controller->setLanguageDataSource(LanguageDataSource::breakSeparatedAt(server.url()));
        server.route("/tesseract/filesIndex.php",
                     {.body = "xyz.traineddata<br>xyz.user-words<br>a b?.traineddata<br>"
                              "eng.traineddata<br>filesIndex.php"});
        server.route("/tesseract/xyz.traineddata", {.body = "xyz data"});
        server.route("/tesseract/xyz.user-words", {.body = "xyz words"});
        server.route("/tesseract/a%20b%3F.traineddata", {.body = "odd data"});
        writeTessdata("eng.traineddata", "installed");
        controller->openPreferencesPanel();
        QObject::connect(controller.get(), &SCPreferencesController::isDownloadingLangChanged,
                         [this](bool busy) { busySteps.append(busy); });
    }

    void chooseAndDownload(const QStringList& languages) {
        controller->window()->findChild<QPushButton*>("addLanguageButton")->click();
        ASSERT_TRUE(popoverShown());
        controller->languageListController()->setSelectedObjects(languages);
        controller->languagePopoverDownloadRemoveButton()->click();
    }
    bool popoverShown() const { return controller->languageListPopover()->isShown(); }
    bool waitUntilIdle() {
        return testsupport::spinUntil([this] { return !controller->isDownloadingLang(); });
    }
    QByteArray content(const QString& name) const {
        QFile in(tessdata() + u'/' + name);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("<missing>");
    }

    LocalHttpServer server;
    int downloadersMade = 0;
    QList<bool> busySteps;
};

TEST_F(LanguageDownloads, ALanguagesFilesEndInOneCompletion) {
    const int before = downloadersMade;
    chooseAndDownload({"xyz"});
    EXPECT_TRUE(controller->isDownloadingLang());
    EXPECT_TRUE(popoverShown());
    EXPECT_FALSE(controller->languagePopoverDownloadRemoveButton()->isEnabled());

    ASSERT_TRUE(waitUntilIdle());
    testsupport::drainMainQueue();

    EXPECT_EQ(busySteps, (QList<bool>{true, false}));
    EXPECT_FALSE(popoverShown());
    EXPECT_EQ(content("xyz.traineddata"), "xyz data");
    EXPECT_EQ(content("xyz.user-words"), "xyz words");
    EXPECT_EQ(controller->usereTesseractLanguageList(), (QStringList{"eng", "xyz"}));
    EXPECT_EQ(downloadersMade, before + 1);
    EXPECT_TRUE(controller->languagePopoverDownloadRemoveButton()->isEnabled());
}

TEST_F(LanguageDownloads, NothingChosenStartsNothing) {
    chooseAndDownload({});
    testsupport::drainMainQueue();
    EXPECT_FALSE(controller->isDownloadingLang());
    EXPECT_TRUE(busySteps.isEmpty());
    EXPECT_TRUE(popoverShown());
    EXPECT_EQ(server.requestedPaths(), QStringList{"/tesseract/filesIndex.php"});
}

TEST_F(LanguageDownloads, NamesTravelEncoded) {
    chooseAndDownload({"a b?"});
    ASSERT_TRUE(waitUntilIdle());
    EXPECT_TRUE(server.requestedPaths().contains("/tesseract/a%20b%3F.traineddata"));
    EXPECT_EQ(content("a b?.traineddata"), "odd data");
    EXPECT_TRUE(controller->usereTesseractLanguageList().contains("a b?"));
}

TEST_F(LanguageDownloads, ADoubleClickWhileBusyDoesNothing) {
    server.route("/tesseract/xyz.traineddata", {.held = true});
    chooseAndDownload({"xyz"});
    auto* list = controller->languageListPopover()->findChild<QListView*>("languageList");
    ASSERT_NE(list, nullptr);
    emit list->doubleClicked(list->model()->index(0, 0));
    ASSERT_TRUE(testsupport::spinUntil([&] { return server.heldCount() == 1; }));
    testsupport::drainMainQueue(100);
    EXPECT_EQ(server.requestedPaths().count("/tesseract/xyz.traineddata"), 1);
    server.releaseHeld();
    ASSERT_TRUE(waitUntilIdle());
}

TEST_F(LanguageDownloads, CancelWhileAFileIsHeld) {
    server.route("/tesseract/xyz.traineddata", {.held = true});
    chooseAndDownload({"xyz"});
    ASSERT_TRUE(testsupport::spinUntil(
        [&] { return server.heldCount() == 1 && content("xyz.user-words") == "xyz words"; }));
    const int before = downloadersMade;

    controller->languageListPopover()
        ->findChild<QPushButton*>("cancelLanguageDownloadButton")
        ->click();

    EXPECT_FALSE(controller->isDownloadingLang());
    EXPECT_FALSE(popoverShown());
    EXPECT_EQ(downloadersMade, before + 1);
    EXPECT_EQ(content("xyz.user-words"), "<missing>");
    server.releaseHeld();
    testsupport::drainMainQueue(300);
    EXPECT_EQ(content("xyz.traineddata"), "<missing>");
    EXPECT_EQ(busySteps, (QList<bool>{true, false}));
    EXPECT_EQ(controller->usereTesseractLanguageList(), QStringList{"eng"});
}

TEST_F(LanguageDownloads, AFailedOrCancelledRedownloadKeepsTheInstalledFile) {
    server.route("/tesseract/eng.traineddata", {.body = "<html>gone<br></html>", .status = 404});
    chooseAndDownload({"eng"});
    ASSERT_TRUE(waitUntilIdle());
    EXPECT_EQ(content("eng.traineddata"), "installed");
    EXPECT_FALSE(popoverShown());

    server.route("/tesseract/eng.traineddata", {.held = true});
    chooseAndDownload({"eng"});
    ASSERT_TRUE(testsupport::spinUntil([&] { return server.heldCount() == 1; }));
    controller->cancelLanguageDownloadButton();
    server.releaseHeld();
    testsupport::drainMainQueue(300);
    EXPECT_EQ(content("eng.traineddata"), "installed");
    EXPECT_EQ(tessdataEntries(), (QStringList{"configs", "eng.traineddata"}));
}

TEST_F(LanguageDownloads, AnyDownloadersNoticeCompletes) {
    chooseAndDownload({});
    controller->setIsDownloadingLang(true);
    const int before = downloadersMade;
    QObject stranger;
    std::thread([&] {
        platform::NotificationCenter::defaultCenter().post("fileDownloadComplete", &stranger);
    }).join();
    // Handed to the main thread, not run on the poster's.
    EXPECT_TRUE(controller->isDownloadingLang());
    EXPECT_EQ(downloadersMade, before);

    ASSERT_TRUE(waitUntilIdle());
    EXPECT_FALSE(popoverShown());
    EXPECT_EQ(downloadersMade, before + 1);

    controller->setIsDownloadingLang(true);
    controller->notificationHub({"dialogChanged", &stranger, {}});
    testsupport::drainMainQueue();
    EXPECT_TRUE(controller->isDownloadingLang());
    EXPECT_EQ(downloadersMade, before + 1);
}

TEST_F(LanguageDownloads, AControllerGoneBeforeItsStep) {
    std::thread([] {
        platform::NotificationCenter::defaultCenter().post("fileDownloadComplete");
    }).join();
    controller.reset();
    testsupport::drainMainQueue();
    EXPECT_EQ(platform::NotificationCenter::defaultCenter().observerCount("fileDownloadComplete"),
              0);
}

}  // namespace
