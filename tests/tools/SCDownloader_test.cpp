#include "tools/SCDownloader.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>

#include "ToolsFixture.h"
#include "platform/NotificationCenter.h"
#include "support/EventLoop.h"
#include "support/LocalHttpServer.h"

using testsupport::LocalHttpServer;
using Answer = LocalHttpServer::Answer;
using Route = LocalHttpServer::Route;

namespace {

using namespace std::chrono_literals;

// Entries under the support folder: a file's content, "/" for a folder,
// "->" and the target for a link.
using Tree = std::map<QString, QByteArray>;

struct Served {
    QString path;
    Route route;
};

struct DownloadCase {
    const char* name;
    std::vector<Served> served;
    QStringList asked;  // paths, in order, all into "tessdata"; "!" before: nobody listens
    Tree before;
    Tree after;
    QStringList stored;  // names listed as written
    bool holdUntilAllAsked = false;
    // For the paths whose answer stalls; the others get the default.
    std::chrono::milliseconds transferTimeout = SCDownloader::defaultTransferTimeout;
    std::optional<Route> fallback{};
};

void PrintTo(const DownloadCase& c, std::ostream* out) {
    *out << c.name;
}

const QString kFolder = QStringLiteral("tessdata");

// Notifications of one downloader, recorded from the posting thread.
class NoticeRecorder {
  public:
    explicit NoticeRecorder(const QObject* sender)
        : observer_("fileDownloadComplete", [this, sender](const platform::Notification& note) {
              if (note.object != sender) return;
              std::lock_guard lock(mutex_);
              notices_.push_back(note);
              threads_.push_back(QThread::currentThread());
          }) {}
    std::vector<platform::Notification> notices() const {
        std::lock_guard lock(mutex_);
        return notices_;
    }
    std::vector<QThread*> threads() const {
        std::lock_guard lock(mutex_);
        return threads_;
    }
    size_t count() const { return notices().size(); }

  private:
    mutable std::mutex mutex_;
    std::vector<platform::Notification> notices_;
    std::vector<QThread*> threads_;
    platform::NotificationObserver observer_;
};

class Downloader : public ToolsFixture {
  protected:
    QString support() const { return path("support"); }
    QUrl folderUrl() const { return QUrl::fromLocalFile(support() + "/" + kFolder + "/"); }

    void plant(const Tree& tree) {
        QDir().mkpath(support());
        for (const auto& [relative, content] : tree) {
            const QString file = support() + "/" + relative;
            if (content == "/")
                QDir().mkpath(file);
            else if (content.startsWith("->"))
                QFile::link(QString::fromUtf8(content.mid(2)), file);
            else
                writeFile("support/" + relative, content);
        }
    }

    Tree tree() const {
        Tree found;
        QDirIterator it(support(),
                        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QFileInfo info(file);
            const QString relative = QDir(support()).relativeFilePath(file);
            if (info.isSymLink()) {
                found[relative] = "->" + info.symLinkTarget().toUtf8();
            } else if (info.isDir()) {
                found[relative] = "/";
            } else {
                QFile in(file);
                EXPECT_TRUE(in.open(QIODevice::ReadOnly));
                found[relative] = in.readAll();
            }
        }
        return found;
    }

    LocalHttpServer server;
};

class DownloadBatch : public Downloader, public ::testing::WithParamInterface<DownloadCase> {};

TEST_P(DownloadBatch, EndsWithOneNoticeAndOnlyWholeAnswersStored) {
    const DownloadCase& c = GetParam();
    for (const auto& served : c.served) {
        Route route = served.route;
        route.held = c.holdUntilAllAsked;
        server.route(served.path, route);
    }
    if (c.fallback) server.setFallback(*c.fallback);
    Tree before = c.before;
    for (auto& [relative, content] : before)
        if (content.startsWith("->")) content = "->" + path(content.mid(2)).toUtf8();
    plant(before);
    Tree expected = c.after;
    for (auto& [relative, content] : expected)
        if (content.startsWith("->")) content = "->" + path(content.mid(2)).toUtf8();

    auto downloader = std::make_unique<SCDownloader>();
    NoticeRecorder recorder(downloader.get());
    QList<QUrl> asked;
    for (const QString& encoded : c.asked) {
        // Only a transfer that never ends gets the case's limit, so that a
        // slow machine cannot time out one that is meant to succeed.
        const bool stalls = std::any_of(c.served.begin(), c.served.end(), [&](const Served& s) {
            return s.path == encoded && s.route.answer == Answer::Stall;
        });
        downloader->setTransferTimeout(stalls ? c.transferTimeout
                                              : SCDownloader::defaultTransferTimeout);
        asked.append(encoded.startsWith(u'!') ? LocalHttpServer::refusingUrl(encoded.mid(1))
                                              : server.url(encoded));
        downloader->downloadLanguageFileAtURL(asked.last(), folderUrl());
    }
    if (c.holdUntilAllAsked) {
        EXPECT_EQ(downloader->activeDownloads().size(),
                  size_t(QSet(c.asked.begin(), c.asked.end()).size()));
        ASSERT_TRUE(testsupport::spinUntil([&] { return server.requestCount() == asked.size(); }));
        EXPECT_EQ(recorder.count(), 0u);
        server.releaseHeld();
    }
    ASSERT_TRUE(testsupport::spinUntil([&] { return recorder.count() > 0; }, 15000));
    testsupport::drainMainQueue(300);  // time for a stray second notice to show
    const auto notices = recorder.notices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(recorder.threads().front(), QThread::currentThread());
    EXPECT_TRUE(downloader->activeDownloads().empty());

    const QUrl source = notices.front().userInfo.value("downloadlURL").toUrl();
    const QUrl destination = notices.front().userInfo.value("destinationURL").toUrl();
    EXPECT_EQ(notices.front().userInfo.size(), 2);
    EXPECT_TRUE(asked.contains(source)) << source.toString().toStdString();
    const QString encodedName = source.path(QUrl::FullyEncoded).section(u'/', -1);
    EXPECT_EQ(destination, QUrl::fromLocalFile(support() + "/" + kFolder + "/" +
                                               QUrl::fromPercentEncoding(encodedName.toUtf8())));

    const QList<QUrl> written = downloader->destinationUrlsList();
    QStringList writtenNames;
    for (const QUrl& url : written) writtenNames.append(url.fileName());
    writtenNames.sort();
    EXPECT_EQ(writtenNames, c.stored);
    if (written.contains(destination)) {
        EXPECT_EQ(written.last(), destination);
    }

    downloader.reset();
    EXPECT_EQ(tree(), expected);
}

const Route kEng{Answer::Body, "ENG DATA"};
const Route kGone{Answer::Body, "<html>gone</html>", false, 404};

INSTANTIATE_TEST_SUITE_P(
    Cases, DownloadBatch,
    ::testing::Values(
        DownloadCase{"OneFile",
                     {{"/tesseract/eng.traineddata", kEng}},
                     {"/tesseract/eng.traineddata"},
                     {{"tessdata", "/"}},
                     {{"tessdata", "/"}, {"tessdata/eng.traineddata", "ENG DATA"}},
                     {"eng.traineddata"}},
        DownloadCase{
            "ThreeFilesHeldUntilAllWereAskedFor",
            {{"/tesseract/a.traineddata", {Answer::Body, "A"}},
             {"/tesseract/b.traineddata", {Answer::Body, "B"}},
             {"/tesseract/c.cube.bigrams", {Answer::Body, "C"}}},
            {"/tesseract/a.traineddata", "/tesseract/b.traineddata", "/tesseract/c.cube.bigrams"},
            {{"tessdata", "/"}},
            {{"tessdata", "/"},
             {"tessdata/a.traineddata", "A"},
             {"tessdata/b.traineddata", "B"},
             {"tessdata/c.cube.bigrams", "C"}},
            {"a.traineddata", "b.traineddata", "c.cube.bigrams"},
            true},
        DownloadCase{"TheSameUrlTwice",
                     {{"/tesseract/eng.traineddata", kEng}},
                     {"/tesseract/eng.traineddata", "/tesseract/eng.traineddata"},
                     {{"tessdata", "/"}},
                     {{"tessdata", "/"}, {"tessdata/eng.traineddata", "ENG DATA"}},
                     {"eng.traineddata"},
                     true},
        DownloadCase{"AnExistingFileIsReplaced",
                     {{"/tesseract/eng.traineddata", kEng}},
                     {"/tesseract/eng.traineddata"},
                     {{"tessdata", "/"}, {"tessdata/eng.traineddata", "OLD"}},
                     {{"tessdata", "/"}, {"tessdata/eng.traineddata", "ENG DATA"}},
                     {"eng.traineddata"}},
        DownloadCase{"NotFoundStoresNothingAndKeepsTheOldFile",
                     {{"/tesseract/eng.traineddata", kGone}, {"/tesseract/deu.traineddata", kGone}},
                     {"/tesseract/eng.traineddata", "/tesseract/deu.traineddata"},
                     {{"tessdata", "/"}, {"tessdata/eng.traineddata", "OLD"}},
                     {{"tessdata", "/"}, {"tessdata/eng.traineddata", "OLD"}},
                     {}},
        DownloadCase{"AnAnswerOutside2xxThatIsNoTransferError",
                     {{"/tesseract/eng.traineddata", {Answer::Body, "CHOOSE", false, 300}}},
                     {"/tesseract/eng.traineddata"},
                     {{"tessdata", "/"}},
                     {{"tessdata", "/"}},
                     {}},
        DownloadCase{"ABodyCutShort",
                     {{"/tesseract/eng.traineddata", {Answer::CutShort, "HALF"}}},
                     {"/tesseract/eng.traineddata"},
                     {{"tessdata", "/"}},
                     {{"tessdata", "/"}},
                     {}},
        DownloadCase{"AStalledTransferTimesOut",
                     {{"/tesseract/eng.traineddata", {Answer::Stall, "SOME"}},
                      {"/tesseract/deu.traineddata", {Answer::Body, "DEU"}}},
                     {"/tesseract/eng.traineddata", "/tesseract/deu.traineddata"},
                     {{"tessdata", "/"}},
                     {{"tessdata", "/"}, {"tessdata/deu.traineddata", "DEU"}},
                     {"deu.traineddata"},
                     false,
                     500ms},
        DownloadCase{"RefusedAndClosedConnections",
                     {{"/tesseract/eng.traineddata", {Answer::Close, ""}},
                      {"/tesseract/deu.traineddata", kEng}},
                     {"/tesseract/eng.traineddata", "!/tesseract/fra.traineddata",
                      "/tesseract/deu.traineddata"},
                     {{"tessdata", "/"}},
                     {{"tessdata", "/"}, {"tessdata/deu.traineddata", "ENG DATA"}},
                     {"deu.traineddata"}},
        DownloadCase{"ARedirectLoop",
                     {{"/tesseract/eng.traineddata", {Answer::RedirectLoop, ""}}},
                     {"/tesseract/eng.traineddata"},
                     {{"tessdata", "/"}},
                     {{"tessdata", "/"}},
                     {}},
        DownloadCase{"NamesThatAreNotPlainAreRefused",
                     {},
                     {"/tesseract/..", "/tesseract/a%2F..%2F..%2Fx", "/tesseract/.hidden",
                      "/tesseract/", "/tesseract/a%00b", "/tesseract/%2E%2E"},
                     {{"tessdata", "/"}},
                     {{"tessdata", "/"}},
                     {},
                     false,
                     SCDownloader::defaultTransferTimeout,
                     Route{Answer::Body, "EVIL"}},
        DownloadCase{"AFolderOrLinkOfThatNameStays",
                     {{"/tesseract/eng.traineddata", kEng}, {"/tesseract/deu.traineddata", kEng}},
                     {"/tesseract/eng.traineddata", "/tesseract/deu.traineddata"},
                     {{"tessdata", "/"},
                      {"tessdata/eng.traineddata", "/"},
                      {"tessdata/eng.traineddata/keep", "K"},
                      {"tessdata/deu.traineddata", "->support/target"},
                      {"target", "T"}},
                     {{"tessdata", "/"},
                      {"tessdata/eng.traineddata", "/"},
                      {"tessdata/eng.traineddata/keep", "K"},
                      {"tessdata/deu.traineddata", "->support/target"},
                      {"target", "T"}},
                     {}},
        DownloadCase{"AMissingDestinationFolder",
                     {{"/tesseract/eng.traineddata", kEng}},
                     {"/tesseract/eng.traineddata"},
                     {},
                     {},
                     {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Downloader, CancelRemovesOnlyTheBatchsNewFilesAndEndsIt) {
    plant({{"tessdata", "/"}, {"tessdata/keep.traineddata", "OLD"}});
    server.route("/tesseract/a.traineddata", {Answer::Body, "A"});
    server.route("/tesseract/b.traineddata", {Answer::Body, "B"});
    server.route("/tesseract/keep.traineddata", {Answer::Body, "NEW"});
    server.route("/tesseract/d.traineddata", {Answer::Body, "D", true});
    auto downloader = std::make_unique<SCDownloader>();
    NoticeRecorder recorder(downloader.get());
    for (const char* name : {"a", "b", "keep", "d"})
        downloader->downloadLanguageFileAtURL(
            server.url(QStringLiteral("/tesseract/%1.traineddata").arg(name)), folderUrl());
    ASSERT_TRUE(testsupport::spinUntil([&] {
        return downloader->destinationUrlsList().size() == 3 && server.requestCount() == 4;
    }));

    downloader->cancelDownloading();
    const Tree kept{{"tessdata", "/"}, {"tessdata/keep.traineddata", "NEW"}};
    EXPECT_EQ(tree(), kept);
    // A cancelled downloader takes nothing new.
    downloader->downloadLanguageFileAtURL(server.url("/tesseract/a.traineddata"), folderUrl());
    server.releaseHeld();
    testsupport::drainMainQueue(300);
    downloader.reset();
    EXPECT_EQ(tree(), kept);
    EXPECT_EQ(recorder.count(), 0u);
    EXPECT_EQ(server.requestCount(), 4);
}

TEST_F(Downloader, CancelBeforeAnythingFinishedDeletesNothing) {
    plant({{"tessdata", "/"}, {"tessdata/eng.traineddata", "OLD"}});
    server.route("/tesseract/eng.traineddata", {Answer::Body, "NEW", true});
    SCDownloader downloader;
    NoticeRecorder recorder(&downloader);
    downloader.downloadLanguageFileAtURL(server.url("/tesseract/eng.traineddata"), folderUrl());
    ASSERT_TRUE(testsupport::spinUntil([&] { return server.requestCount() == 1; }));
    downloader.cancelDownloading();
    server.releaseHeld();
    testsupport::drainMainQueue(300);
    EXPECT_EQ(tree(), (Tree{{"tessdata", "/"}, {"tessdata/eng.traineddata", "OLD"}}));
    EXPECT_EQ(recorder.count(), 0u);
}

// The preferences window replaces its downloader from inside the notice; the
// downloader of a finished batch is released there, on the session's thread.
TEST_F(Downloader, ReleasedInsideItsOwnNotice) {
    plant({{"tessdata", "/"}});
    server.route("/tesseract/eng.traineddata", kEng);
    std::mutex mutex;
    auto downloader = std::make_shared<SCDownloader>();
    std::atomic<int> released = 0;
    platform::NotificationObserver observer(
        "fileDownloadComplete", [&](const platform::Notification&) {
            std::shared_ptr<SCDownloader> old;
            {
                std::lock_guard lock(mutex);
                old = std::exchange(downloader, std::make_shared<SCDownloader>());
            }
            old.reset();
            ++released;
        });
    downloader->downloadLanguageFileAtURL(server.url("/tesseract/eng.traineddata"), folderUrl());
    ASSERT_TRUE(testsupport::spinUntil([&] { return released == 1; }));
    testsupport::drainMainQueue(100);
    EXPECT_EQ(tree(), (Tree{{"tessdata", "/"}, {"tessdata/eng.traineddata", "ENG DATA"}}));

    // The replacement works as a fresh one.
    server.route("/tesseract/deu.traineddata", {Answer::Body, "DEU"});
    {
        std::lock_guard lock(mutex);
        downloader->downloadLanguageFileAtURL(server.url("/tesseract/deu.traineddata"),
                                              folderUrl());
    }
    ASSERT_TRUE(testsupport::spinUntil([&] { return released == 2; }));
    std::lock_guard lock(mutex);
    downloader.reset();
}

// Released on the main thread while a transfer is held: it neither hangs
// nor posts, and the answer that comes later stores nothing.
TEST_F(Downloader, ReleasedWhileATransferIsOutstanding) {
    plant({{"tessdata", "/"}});
    server.route("/tesseract/eng.traineddata", {Answer::Body, "ENG", true});
    auto downloader = std::make_unique<SCDownloader>();
    NoticeRecorder recorder(downloader.get());
    downloader->downloadLanguageFileAtURL(server.url("/tesseract/eng.traineddata"), folderUrl());
    ASSERT_TRUE(testsupport::spinUntil([&] { return server.requestCount() == 1; }));
    downloader.reset();
    server.releaseHeld();
    testsupport::drainMainQueue(300);
    EXPECT_EQ(tree(), (Tree{{"tessdata", "/"}}));
    EXPECT_EQ(recorder.count(), 0u);
}

TEST(DownloaderNames, OnlyPlainNamesAreWritten) {
    for (const char* plain : {"eng.traineddata", "a b", "ü.traineddata", "x..y"})
        EXPECT_TRUE(SCDownloader::isPlainFileName(QString::fromUtf8(plain))) << plain;
    for (const QString& bad : {QString(), QString("."), QString(".."), QString(".hidden"),
                               QString("a/b"), QString("/"), QString("a") + QChar(0) + "b"})
        EXPECT_FALSE(SCDownloader::isPlainFileName(bad)) << bad.toStdString();
}

}  // namespace
