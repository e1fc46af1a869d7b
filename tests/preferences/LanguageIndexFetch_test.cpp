#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPushButton>
#include <QTest>

#include "AlertAnswerer.h"
#include "LoopbackServer.h"
#include "PreferencesFixture.h"
#include "preferences/LanguagePopover.h"
#include "preferences/PreferencesWindow.h"
#include "support/EventLoop.h"

namespace {

using Reply = LoopbackServer::Reply;
using Kind = LoopbackServer::Reply::Kind;

const QString kUnreachable = "!!!! Error with accessing language data from Borvane website.";
const QString kFormat = "!!!! Error with fileListString format.";

class LanguageIndexFetch : public PreferencesFixture {
  protected:
    void SetUp() override {
        PreferencesFixture::SetUp();
        controller->setLanguageDataSource(LanguageDataSource::breakSeparatedAt(server.baseURL()));
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

    LoopbackServer server;
    QList<bool> busySteps;
    QList<bool> cursorSteps;  // whether a busy cursor showed at each step
};

TEST_F(LanguageIndexFetch, OffersTheIndexGroupedByLanguage) {
    server.setReply(
        "/tesseract/filesIndex.php",
        Reply::answer(200,
                      "\naaa.traineddata<br>bbb.traineddata<br>aaa.user-words<br>"
                      "../up.traineddata<br>.hidden.traineddata<br>a/b.traineddata<br>x\n..<br>"
                      "bbb.traineddata<br>filesIndex.php\n"));
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
    EXPECT_EQ(server.requests(), QList<QByteArray>{"/tesseract/filesIndex.php"});

    // Pressing again fetches again and starts from scratch.
    server.setReply("/tesseract/filesIndex.php", Reply::answer(200, "ccc.traineddata<br>"));
    pressAdd();
    EXPECT_EQ(controller->tesseractLanguagesList(), QStringList{"ccc"});
    EXPECT_EQ(controller->tesseractLanguagesDictionaryArray()->keys(), QStringList{"ccc"});
    EXPECT_EQ(server.requests().size(), 2);
}

TEST_F(LanguageIndexFetch, AnIndexThatCannotBeHadGivesTheAlert) {
    const QByteArray oversize = QByteArray(5000, 'a') + "<br>";
    const struct {
        const char* name;
        Reply reply;
        bool closedPort;
        QString log;
    } cases[] = {
        {"not found, with breaks", Reply::answer(404, "a.b<br>c.d"), false, kUnreachable},
        {"server error", Reply::answer(500, "a.b<br>"), false, kUnreachable},
        {"silent", Reply::of(Kind::Hang), false, kUnreachable},
        {"a trickle", Reply::of(Kind::Trickle), false, kUnreachable},
        {"connection closed", Reply::of(Kind::Close), false, kUnreachable},
        {"closed port", Reply(), true, kUnreachable},
        {"too big", Reply::answer(200, oversize), false, kUnreachable},
        {"too big, no length", Reply::of(Kind::Stream), false, kUnreachable},
        {"not UTF-8", Reply::answer(200, "fr\xE9.traineddata<br>"), false, kUnreachable},
        {"an unknown charset", Reply::answer(200, "a.b<br>", "text/html; charset=x-klingon"), false,
         kUnreachable},
        {"no breaks", Reply::answer(200, "eng.traineddata"), false, kFormat},
        {"empty", Reply::answer(200, ""), false, kFormat},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        controller->setLanguageDataSource(LanguageDataSource::breakSeparatedAt(
            c.closedPort ? LoopbackServer::closedPortURL() : server.baseURL()));
        server.setReply("/tesseract/filesIndex.php", c.reply);
        const bool endless = c.reply.kind == Kind::Hang || c.reply.kind == Kind::Trickle;
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
    server.setReply(
        "/tesseract/filesIndex.php",
        Reply::answer(200, "fr\xE9.traineddata<br>", "text/html; charset=\"ISO-8859-1\""));
    AlertAnswerer alerts;
    pressAdd();
    EXPECT_TRUE(alerts.seen.isEmpty());
    EXPECT_EQ(controller->tesseractLanguagesList(), QStringList{"fr\u00E9"});
}

TEST_F(LanguageIndexFetch, TheRepositoryListingForm) {
    LanguageDataSource source;
    source.form = LanguageDataSource::Form::RepositoryContents;
    source.indexURL = QUrl(server.baseURL().toString() + "/contents/");
    source.fileAddress = server.baseURL().toString() + "/raw/";
    controller->setLanguageDataSource(source);
    server.setReply("/contents/", Reply::answer(200,
                                                R"([{"name": "LICENSE", "type": "file"},
                                       {"name": "afr.traineddata", "type": "file"},
                                       {"name": "script", "type": "dir"}])",
                                                "application/json; charset=utf-8"));
    AlertAnswerer alerts;
    pressAdd();
    EXPECT_EQ(controller->tesseractLanguagesList(), QStringList{"afr"});
    EXPECT_EQ(source.fileURL("afr.traineddata").toString(),
              server.baseURL().toString() + "/raw/afr.traineddata");
}

}  // namespace
