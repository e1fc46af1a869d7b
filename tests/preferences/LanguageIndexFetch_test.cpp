#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPushButton>
#include <QTest>

#include "AlertAnswerer.h"
#include "PreferencesFixture.h"
#include "preferences/LanguagePopover.h"
#include "preferences/PreferencesWindow.h"
#include "support/EventLoop.h"
#include "support/LocalHttpServer.h"

namespace {

using testsupport::LocalHttpServer;
using Answer = LocalHttpServer::Answer;
using Route = LocalHttpServer::Route;

const QString kUnreachable = "!!!! Error with accessing language data from Borvane website.";
const QString kFormat = "!!!! Error with fileListString format.";

class LanguageIndexFetch : public PreferencesFixture {
  protected:
    void SetUp() override {
        PreferencesFixture::SetUp();
        controller->setLanguageDataSource(LanguageDataSource::breakSeparatedAt(server.url()));
        // A time only a hang reaches; the cases of a server that never ends
        // its answer set a short one.
        controller->setIndexFetchLimits(
            {.time = std::chrono::milliseconds(testsupport::kHangMs), .bytes = 4096});
        controller->openPreferencesPanel();
        QObject::connect(controller.get(),
                         &SCPreferencesController::isDownloadingAvailableLangChanged,
                         [this](bool busy) {
                             busySteps.append(busy);
                             cursorSteps.append(QGuiApplication::overrideCursor() != nullptr);
                         });
    }
    void pressAdd() {
        QTest::mouseClick(controller->window()->findChild<QPushButton*>("addLanguageButton"),
                          Qt::LeftButton);
    }
    bool popoverShown() const {
        return controller->languageListPopover() && controller->languageListPopover()->isShown();
    }

    LocalHttpServer server;
    QList<bool> busySteps;
    QList<bool> cursorSteps;  // whether a busy cursor showed at each step
};

TEST_F(LanguageIndexFetch, OffersTheIndexGroupedByLanguage) {
    server.route("/tesseract/filesIndex.php",
                 {.body = "\naaa.traineddata<br>bbb.traineddata<br>aaa.user-words<br>"
                          "../up.traineddata<br>.hidden.traineddata<br>a/b.traineddata<br>x\n..<br>"
                          "bbb.traineddata<br>filesIndex.php\n"});
    AlertAnswerer alerts;

    pressAdd();

    EXPECT_TRUE(alerts.seen.isEmpty());
    EXPECT_TRUE(popoverShown());
    EXPECT_EQ(controller->languagePopoverDownloadRemoveButton()->text(), "Download");
    EXPECT_EQ(controller->popoverMainButtonTitle(), "Download");
    EXPECT_EQ(controller->tesseractLanguagesList(), (QStringList{"aaa", "bbb"}));
    EXPECT_EQ(controller->tesseractLanguagesDictionaryArray()->value("aaa"),
              (QStringList{"aaa.traineddata", "aaa.user-words"}));
    EXPECT_EQ(controller->tesseractLanguagesDictionaryArray()->value("bbb"),
              QStringList{"bbb.traineddata"});
    EXPECT_EQ(busySteps, (QList<bool>{true, false}));
    EXPECT_EQ(cursorSteps, (QList<bool>{true, false}));
    EXPECT_EQ(server.requestedPaths(), QStringList{"/tesseract/filesIndex.php"});

    // Pressing again fetches again and starts from scratch.
    server.route("/tesseract/filesIndex.php", {.body = "ccc.traineddata<br>"});
    pressAdd();
    EXPECT_EQ(controller->tesseractLanguagesList(), QStringList{"ccc"});
    EXPECT_EQ(controller->tesseractLanguagesDictionaryArray()->keys(), QStringList{"ccc"});
    EXPECT_EQ(server.requestCount(), 2);
}

TEST_F(LanguageIndexFetch, AnIndexThatCannotBeHadGivesTheAlert) {
    const QByteArray oversize = QByteArray(5000, 'a') + "<br>";
    const struct {
        const char* name;
        Route route;
        bool closedPort;
        QString log;
    } cases[] = {
        {"not found, with breaks", {.body = "a.b<br>c.d", .status = 404}, false, kUnreachable},
        {"server error", {.body = "a.b<br>", .status = 500}, false, kUnreachable},
        {"silent", {.held = true}, false, kUnreachable},  // never released
        {"a trickle", {Answer::Trickle, "a<br>"}, false, kUnreachable},
        {"connection closed", {Answer::Close}, false, kUnreachable},
        {"closed port", {}, true, kUnreachable},
        {"too big", {.body = oversize}, false, kUnreachable},
        {"too big, no length",
         {Answer::Unmeasured, QByteArray(64 * 1024, 'a') + "<br>"},
         false,
         kUnreachable},
        {"not UTF-8", {.body = "fr\xE9.traineddata<br>"}, false, kUnreachable},
        {"an unknown charset",
         {.body = "a.b<br>", .contentType = "text/html; charset=x-klingon"},
         false,
         kUnreachable},
        {"no breaks", {.body = "eng.traineddata"}, false, kFormat},
        {"empty", {.body = ""}, false, kFormat},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        controller->setLanguageDataSource(LanguageDataSource::breakSeparatedAt(
            c.closedPort ? LocalHttpServer::refusingUrl() : server.url()));
        server.route("/tesseract/filesIndex.php", c.route);
        const bool endless = c.route.held || c.route.answer == Answer::Trickle;
        controller->setIndexFetchLimits(
            {.time = std::chrono::milliseconds(endless ? 800 : testsupport::kHangMs),
             .bytes = 4096});
        busySteps.clear();
        logged.clear();
        AlertAnswerer alerts;
        QElapsedTimer clock;
        clock.start();

        pressAdd();

        EXPECT_LT(clock.elapsed(), testsupport::kHangMs);
        ASSERT_EQ(alerts.seen.size(), 1);
        EXPECT_EQ(alerts.seen[0].text,
                  "Tesseract file information could not be accessed from the Borvane website.");
        EXPECT_EQ(alerts.seen[0].informativeText,
                  "Check your internet connection, or there could be issues with the website.");
        EXPECT_EQ(alerts.seen[0].icon, QMessageBox::Warning);
        EXPECT_EQ(alerts.seen[0].modality, Qt::ApplicationModal);
        // It belongs to the preferences window and comes up over it.
        EXPECT_EQ(alerts.seen[0].parent, controller->window());
        EXPECT_EQ(alerts.seen[0].buttons, QStringList{"OK"});
        EXPECT_FALSE(popoverShown());
        EXPECT_EQ(logged, QStringList{c.log});
        EXPECT_EQ(busySteps, (QList<bool>{true, false}));
        EXPECT_FALSE(controller->isDownloadingAvailableLang());
        EXPECT_EQ(controller->tesseractLanguagesList(), QStringList{});
        EXPECT_EQ(controller->languagePopoverLabel(),
                  "Select the language data to download from the Borvane website.");
    }
}

TEST_F(LanguageIndexFetch, DecodesByTheDeclaredCharset) {
    server.route("/tesseract/filesIndex.php", {.body = "fr\xE9.traineddata<br>",
                                               .contentType = "text/html; charset=\"ISO-8859-1\""});
    AlertAnswerer alerts;
    pressAdd();
    EXPECT_TRUE(alerts.seen.isEmpty());
    EXPECT_EQ(controller->tesseractLanguagesList(), QStringList{"fr\u00E9"});
}

TEST_F(LanguageIndexFetch, TheRepositoryListingForm) {
    LanguageDataSource source;
    source.form = LanguageDataSource::Form::RepositoryContents;
    source.indexURL = server.url("/contents/");
    source.fileAddress = server.url("/raw/").toString();
    controller->setLanguageDataSource(source);
    server.route("/contents/", {.body = R"([{"name": "LICENSE", "type": "file"},
                                      {"name": "afr.traineddata", "type": "file"},
                                      {"name": "script", "type": "dir"}])",
                                .contentType = "application/json; charset=utf-8"});
    AlertAnswerer alerts;
    pressAdd();
    EXPECT_EQ(controller->tesseractLanguagesList(), QStringList{"afr"});
    EXPECT_EQ(source.fileURL("afr.traineddata").toString(),
              server.url("/raw/afr.traineddata").toString());
}

}  // namespace
