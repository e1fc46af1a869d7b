#include <gtest/gtest.h>

#include "common/NotificationTypes.h"
#include "document/ImageSubImporter.h"
#include "editor/OpeningFixture.h"
#include "editor/QtPrinters.h"
#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "support/PlatformOverrides.h"

using editortest::OpeningTest;

namespace {

class Opening : public OpeningTest {};

TEST_F(Opening, AUtf8FileOpensWithoutCycleOrSheet) {
    auto view = openedView(editorFixture("sample.srt"), subtitleTypes::srt);
    EXPECT_EQ(reads->total(), 1);
    EXPECT_EQ(view->importEncoding(), "UTF8");
    EXPECT_EQ(view->viewSubtitle()->subtitleLinesArray().size(), 12);
    EXPECT_EQ(sheet(), nullptr);
    EXPECT_FALSE(reads->onMainThread);
}

struct LegacyFile {
    const char* file;
    const char* encoding;
    QString firstLine;
};

TEST_F(Opening, LegacyAndUnicodeFilesOpenInTheRightEncodingWithTheirTextIntact) {
    const LegacyFile files[] = {
        {"english-utf16le.srt", "Unicode", "Where were you last night?"},
        {"french-windows1252.srt", "WindowsLatin1",
         QString::fromUtf8("Le maître d'hôtel arrive à l'heure, comme d'habitude.")},
        {"russian-windows1251.srt", "WindowsCyrillic",
         QString::fromUtf8("Где вы были вчера вечером?")},
        {"czech-isolatin2.srt", "ISOLatin2",
         QString::fromUtf8("Příliš žluťoučký kůň úpěl ďábelské ódy.")},
        {"japanese-shiftjis.srt", "ShiftJIS", QString::fromUtf8("昨日の夜はどこにいましたか？")},
    };
    for (const LegacyFile& f : files) {
        SCOPED_TRACE(f.file);
        reads = std::make_shared<editortest::CountingReads>();
        auto view = openedView(editorFixture(f.file), subtitleTypes::srt);
        EXPECT_EQ(view->importEncoding(), f.encoding);
        EXPECT_EQ(view->viewSubtitle()->currentImportEncoding(), f.encoding);
        ASSERT_FALSE(view->viewSubtitle()->subtitleLinesArray().isEmpty());
        EXPECT_EQ(view->viewSubtitle()->subtitleLinesArray()[0]->unformattedTextSRT(), f.firstLine);
        EXPECT_EQ(reads->names().first(), "UTF8");
        EXPECT_EQ(sheet(), nullptr);
        EXPECT_FALSE(view->viewSubtitle()->isCyclingEncodings());
        EXPECT_FALSE(view->viewSubtitle()->isInitializing());
    }
}

TEST_F(Opening, AFileNoEncodingReadsEndsInTheSheetAndTheNotification) {
    QList<platform::Notification> posted;
    platform::NotificationObserver observer(
        notificationTypes(notificationTypes::subInitializationError).rawValue(),
        [&](const platform::Notification& n) { posted.append(n); });
    auto view = openedView(editorFixture("empty.srt"), subtitleTypes::srt);
    EXPECT_EQ(reads->texts, 142);
    EXPECT_EQ(reads->names().first(), "UTF8");
    EXPECT_EQ(reads->names().last(), "UTF8");
    EXPECT_EQ(view->importEncoding(), "UTF8");
    QMessageBox* box = sheet();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "Quillmar Can Not Open This File");
    EXPECT_EQ(box->informativeText(), "Check to see if this is a valid subtitle file.");
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    EXPECT_EQ(box->windowModality(), Qt::WindowModal);
    EXPECT_TRUE(posted.isEmpty());
    answer("OK");
    ASSERT_EQ(posted.size(), 1);
    EXPECT_EQ(posted[0].object, view.get());
    EXPECT_EQ(posted[0].userInfo.value("theWindow").value<QObject*>(), host.window());
    EXPECT_FALSE(reads->onMainThread);
}

// The log tells of an open that failed as a whole, once, with its reason;
// the encodings tried on the way to an open that succeeds leave nothing.
TEST_F(Opening, OnlyAnOpenThatFailsAsAWholeIsLogged) {
    const QString empty = editorFixture("empty.srt").toLocalFile();
    const QString missing = editorFixture("no-such-file.srt").toLocalFile();
    const struct {
        QString file;
        QStringList logged;
    } cases[] = {
        {empty, {"!!!! load failed: no readable line: " + empty + " (encoding UTF8)"}},
        {missing, {"!!!! load failed: missing file: " + missing}},
        {editorFixture("japanese-shiftjis.srt").toLocalFile(), {}},
        {editorFixture("french-windows1252.srt").toLocalFile(), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        testsupport::ScopedLogCapture log;
        reads = std::make_shared<editortest::CountingReads>();
        auto view = openedView(QUrl::fromLocalFile(c.file), subtitleTypes::srt);
        EXPECT_GT(reads->texts, c.logged.isEmpty() ? 1 : 0);  // a success after a failed read
        EXPECT_EQ(log.entries(), c.logged);
        if (sheet()) answer("OK");
    }
}

// A file that is not there, or a folder, fails alike in every encoding: one
// read, then the sheet, with no cycle through the catalogue.
TEST_F(Opening, AMissingFileOrAFolderIsReadOnceBeforeTheSheet) {
    const QUrl urls[] = {editorFixture("no-such-file.srt"),
                         QUrl::fromLocalFile(QStringLiteral(QUILLMAR_FIXTURES "/editor"))};
    for (const QUrl& url : urls) {
        SCOPED_TRACE(url.toLocalFile().toStdString());
        reads = std::make_shared<editortest::CountingReads>();
        auto view = openedView(url, subtitleTypes::srt);
        EXPECT_EQ(reads->texts, 1);
        EXPECT_EQ(view->importEncoding(), "UTF8");
        QMessageBox* box = sheet();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), "Quillmar Can Not Open This File");
        answer("OK");
        EXPECT_FALSE(view->viewSubtitle()->isCyclingEncodings());
    }
}

TEST_F(Opening, ADocumentOfTypeNoneReadsNothing) {
    auto view = openedView(editorFixture("sample.srt"), subtitleTypes::none);
    EXPECT_EQ(reads->total(), 0);
    EXPECT_EQ(sheet(), nullptr);
}

// Delivers its lines on the main thread, or fails.
class FakeImporter : public ImageSubImporter {
  public:
    explicit FakeImporter(bool succeed) : succeed_(succeed) {}
    void setParentSubtitle(const std::weak_ptr<SCSubtitle>& subtitle) override {
        parent_ = subtitle;
    }
    void cancelImport() override {}
    resultTypes importImageSubtitleURL(const QUrl&) override {
        if (!succeed_) return resultTypes::error;
        for (int number = 0; number < 2; ++number) {
            auto parent = parent_;
            platform::MainQueue::post([parent, number] {
                auto subtitle = parent.lock();
                if (!subtitle) return;
                QImage picture(60 + number * 20, 20, QImage::Format_RGB32);
                picture.fill(Qt::white);
                documenttest::announceImportedLine(*subtitle, number, number * 2.0,
                                                   number * 2.0 + 1.0, "picture line", picture);
            });
        }
        return resultTypes::ok;
    }

  private:
    bool succeed_;
    std::weak_ptr<SCSubtitle> parent_;
};

TEST_F(Opening, APictureImportShowsThePopoverAndClosesItBeforeTheFailureSheet) {
    testsupport::ScopedOverride<ImageSubImporter::Factory> factory(
        &SCSubtitle::setImageSubImporterFactory,
        [] { return std::make_shared<FakeImporter>(false); });
    auto view = makeView<SCViewControllerSRT>();
    view->setSubtitleReads(reads);
    view->viewSubtitle()->setSubtitleFileType(subtitleTypes::vobsub);
    host.show(view->view());
    // Notes, as they happen, whether the popover showed before any sheet.
    struct Watcher : QObject {
        std::function<bool()> noSheet;
        bool shownBeforeSheet = false;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Show && noSheet()) shownBeforeSheet = true;
            return false;
        }
    } watcher;
    watcher.noSheet = [&] { return sheet() == nullptr; };
    view->imageSubPopover()->installEventFilter(&watcher);
    view->openSubtitleURL(editorFixture("sample.idx"));
    testsupport::spinUntil([&] { return sheet() != nullptr; });
    const bool shownBeforeSheet = watcher.shownBeforeSheet;
    EXPECT_TRUE(shownBeforeSheet);
    EXPECT_FALSE(view->imageSubPopover()->isShown());
    EXPECT_EQ(sheet()->text(), "Quillmar Can Not Open This File");
    EXPECT_EQ(reads->pictures, 1);
}

TEST_F(Opening, APictureImportShowsTheSelectedLinesPicture) {
    testsupport::ScopedOverride<ImageSubImporter::Factory> factory(
        &SCSubtitle::setImageSubImporterFactory,
        [] { return std::make_shared<FakeImporter>(true); });
    auto view = openedView(editorFixture("sample.idx"), subtitleTypes::vobsub);
    ASSERT_EQ(view->viewSubtitle()->subtitleLinesArray().size(), 2);
    EXPECT_TRUE(view->imageSubPopover()->isShown());
    EXPECT_EQ(sheet(), nullptr);
    selectRows(*view, {1});
    EXPECT_EQ(view->imageSubPopover()->picture().width(), 80);
    EXPECT_FALSE(view->viewSubtitle()->subtitleIsValid());
}

}  // namespace
