// Notifications reaching every window, and the ways a window closes.
#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <functional>

#include "AppFixture.h"
#include "app/AppActions.h"
#include "app/DocumentWindow.h"
#include "app/SCMainWindowController.h"
#include "app/StartWindow.h"
#include "common/NotificationTypes.h"
#include "document/DocumentFixtures.h"
#include "document/SCSubtitle.h"
#include "document/SCSubtitleLine.h"
#include "editor/SCViewControllerSRT.h"
#include "editor/SubtitleLinesTableModel.h"
#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "platform/StringEncoding.h"
#include "platform/TextCodec.h"
#include "support/EventLoop.h"
#include "support/PlatformOverrides.h"

namespace {

// Hands over two lines of recognised text, as a finished OCR does.
class TwoLineImporter : public ImageSubImporter {
  public:
    void setParentSubtitle(const std::weak_ptr<SCSubtitle>& subtitle) override {
        parent_ = subtitle;
    }
    void cancelImport() override {}
    resultTypes importImageSubtitleURL(const QUrl&) override {
        for (int number = 0; number < 2; ++number) {
            platform::MainQueue::post([parent = parent_, number] {
                if (const auto subtitle = parent.lock())
                    documenttest::announceImportedLine(
                        *subtitle, number, number * 2.0, number * 2.0 + 1.0,
                        "Recognised line " + QString::number(number + 1));
            });
        }
        return resultTypes::ok;
    }

  private:
    std::weak_ptr<SCSubtitle> parent_;
};

class Closing : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        startDelegate();
        delegate->applicationDidFinishLaunching();
    }
    // Adds the keys to the end of a line's text in its table cell and leaves
    // the cell with Tab, as the user does.
    static void typeIntoDialogCell(SCMainWindowController* controller, int row,
                                   const QString& keys) {
        QTableView* table = controller->currentViewController()->subtitleTable();
        const QPoint centre =
            table->visualRect(table->model()->index(row, SubtitleLinesTableModel::dialogColumn))
                .center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, centre);
        auto* cell = table->viewport()->findChild<QPlainTextEdit*>();
        ASSERT_NE(cell, nullptr);
        QTest::keyClick(cell, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(cell, keys);
        QTest::keyClick(cell, Qt::Key_Tab);
    }
    static QPushButton* button(SCMainWindowController* controller, const char* name) {
        return controller->window()->findChild<QPushButton*>(name);
    }
    void postError(QObject* window) {
        platform::NotificationCenter::defaultCenter().post(
            notificationTypes(notificationTypes::subInitializationError).rawValue(), nullptr,
            {{"theWindow", QVariant::fromValue(window)}});
    }
};

TEST_F(Closing, InitializationErrorClosesOnlyTheNamedWindowWithoutAQuestion) {
    const QString file = writeFile("Film.srt", srtOfLines(2));
    auto* first = open(file);
    auto* second = open(file);
    const QPointer<SCMainWindowController> gone(first);
    postError(new QObject(first));  // not a window of any controller
    postError(nullptr);
    EXPECT_EQ(delegate->openWindowControllers().size(), 2);
    postError(first->window());
    EXPECT_TRUE(shownBoxes().isEmpty());
    EXPECT_EQ(delegate->openWindowControllers(), QList{second});
    collect();
    EXPECT_FALSE(gone);
    EXPECT_TRUE(second->window()->isVisible());
}

TEST_F(Closing, DialogChangesRemeasureOnlyTheirOwnDocumentsRow) {
    auto* first = open(writeFile("A.srt", srtOfLines(6)));
    auto* second = open(writeFile("B.srt", srtOfLines(6)));
    ASSERT_TRUE(waitForLines(first, 6));
    ASSERT_TRUE(waitForLines(second, 6));
    QTableView* firstTable = first->srtViewController()->subtitleTable();
    QTableView* secondTable = second->srtViewController()->subtitleTable();
    const int before = secondTable->verticalHeader()->sectionSize(3);
    const SCSubtitleLinePtr line = first->windowSubtitle()->subtitleLinesArray().at(3);
    line->setUnformattedTextSRT("One\nTwo\nThree\nFour");
    EXPECT_GT(firstTable->verticalHeader()->sectionSize(3), before);
    EXPECT_EQ(secondTable->verticalHeader()->sectionSize(3), before);
    // The row is the line's, not its number: a line renumbered stays found.
    const SCSubtitleLinePtr moved = second->windowSubtitle()->subtitleLinesArray().at(1);
    moved->setUserIndex(40);
    moved->setUnformattedTextSRT("A\nB\nC");
    EXPECT_GT(secondTable->verticalHeader()->sectionSize(1), before);
    // Other names reach the handler and leave the row as it is; the dialog's
    // own name measures it again.
    QHeaderView* rows = firstTable->verticalHeader();
    const int measured = rows->sectionSize(3);
    rows->resizeSection(3, 5);
    first->notificationHub({"timeChanged", line.get(), {{"rowIndex", 3}}});
    EXPECT_EQ(rows->sectionSize(3), 5);
    first->notificationHub(
        {notificationTypes(notificationTypes::dialogChanged).rawValue(), line.get(), {}});
    EXPECT_EQ(rows->sectionSize(3), measured);
}

TEST_F(Closing, TheUserIsAskedAndCancelKeepsTheWindow) {
    auto* controller = open(writeFile("Film.srt", srtOfLines(1)));
    ASSERT_TRUE(waitForLines(controller, 1));
    typeIntoDialogCell(controller, 0, " edited");
    const auto cancelled = answerDuring("Cancel", [&] { controller->window()->close(); });
    ASSERT_TRUE(cancelled);
    EXPECT_EQ(cancelled->text, "Are you sure that you want to close the window?");
    EXPECT_EQ(cancelled->informativeText, "All unsaved work will be lost.");
    EXPECT_EQ(cancelled->buttons, (QStringList{"OK", "Cancel"}));
    EXPECT_EQ(cancelled->modality, Qt::ApplicationModal);
    EXPECT_EQ(delegate->openWindowControllers(), QList{controller});
    EXPECT_TRUE(controller->window()->isVisible());

    const auto confirmed = answerDuring("OK", [&] { controller->window()->close(); });
    ASSERT_TRUE(confirmed);
    EXPECT_TRUE(delegate->openWindowControllers().isEmpty());
    EXPECT_TRUE(delegate->startWindow()->isVisible());
}

TEST_F(Closing, TheCloseKeyClosesTheActiveWindowOnly) {
    auto* first = open(writeFile("A.srt", srtOfLines(1)));
    auto* second = open(writeFile("B.srt", srtOfLines(1)));
    ASSERT_TRUE(waitForLines(second, 1));
    typeIntoDialogCell(second, 0, " edited");
    QApplication::setActiveWindow(second->window());
    ASSERT_EQ(QApplication::activeWindow(), second->window());
    const auto asked = answerDuring(
        "OK", [&] { QTest::keyClick(second->window(), Qt::Key_W, Qt::ControlModifier); });
    ASSERT_TRUE(asked);
    EXPECT_EQ(asked->text, "Are you sure that you want to close the window?");
    EXPECT_EQ(delegate->openWindowControllers(), QList{first});
    EXPECT_TRUE(first->window()->isVisible());
}

TEST_F(Closing, CancelAsksFirstWhenTheDocumentChangedSinceItWasOpenedOrExported) {
    auto* controller = open(writeFile("Film.srt", srtOfLines(2)));
    ASSERT_TRUE(waitForLines(controller, 2));
    const SCSubtitleLinePtr line = controller->windowSubtitle()->subtitleLinesArray().at(1);
    typeIntoDialogCell(controller, 1, " edited");
    ASSERT_EQ(line->unformattedTextSRT(), "Line 2 edited");

    const auto cancelled = answerDuring(
        "Cancel", [&] { QTest::mouseClick(button(controller, "cancelButton"), Qt::LeftButton); });
    ASSERT_TRUE(cancelled);
    EXPECT_EQ(cancelled->text, "Are you sure that you want to close the window?");
    EXPECT_EQ(cancelled->informativeText, "All unsaved work will be lost.");
    EXPECT_EQ(cancelled->buttons, (QStringList{"OK", "Cancel"}));
    EXPECT_EQ(delegate->openWindowControllers(), QList{controller});
    EXPECT_TRUE(controller->window()->isVisible());
    EXPECT_EQ(line->unformattedTextSRT(), "Line 2 edited");

    // Exported to disk, the edit is kept: Cancel closes at once.
    panels->saveAnswers.push_back(path("Film.export.srt"));
    QTest::mouseClick(button(controller, "exportButton"), Qt::LeftButton);
    ASSERT_TRUE(readFile(path("Film.export.srt")).contains("Line 2 edited"));
    const QPointer<SCMainWindowController> gone(controller);
    const auto asked = answerDuring(
        "Cancel", [&] { QTest::mouseClick(button(controller, "cancelButton"), Qt::LeftButton); });
    EXPECT_FALSE(asked);
    EXPECT_TRUE(delegate->openWindowControllers().isEmpty());
    collect();
    EXPECT_FALSE(gone);
}

TEST_F(Closing, AnUntouchedOrRestoredDocumentClosesAtOnceAnEditAfterExportAsks) {
    struct Case {
        const char* what;
        QString keys;  // typed at the end of line 1; Backspace as "\b"
        bool exportFirst;
        bool asked;
    };
    const Case cases[] = {
        {"untouched", "", false, false},
        {"edited", "!", false, true},
        {"edited and typed back", "!\b", false, false},
        {"edited after an export", "!", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* controller = open(writeFile("Film.srt", srtOfLines(2)));
        ASSERT_TRUE(waitForLines(controller, 2));
        if (c.exportFirst) {
            panels->saveAnswers.push_back(path("Film.export.srt"));
            QTest::mouseClick(button(controller, "exportButton"), Qt::LeftButton);
        }
        if (!c.keys.isEmpty()) typeIntoDialogCell(controller, 0, c.keys);
        const auto asked = answerDuring(
            "OK", [&] { QTest::mouseClick(button(controller, "cancelButton"), Qt::LeftButton); });
        EXPECT_EQ(asked.has_value(), c.asked);
        EXPECT_TRUE(delegate->openWindowControllers().isEmpty());
        collect();
    }
}

TEST_F(Closing, ProgramClosesCancelTheImportAndNeverAsk) {
    auto* controller = open(writeFile("Film.srt", srtOfLines(1)));
    auto importer = std::make_shared<FakeImporter>();
    controller->windowSubtitle()->setImageSubImporter(importer);
    const QPointer<SCMainWindowController> gone(controller);
    controller->cancelButton();
    EXPECT_TRUE(shownBoxes().isEmpty());
    EXPECT_EQ(importer->cancels, 1);
    EXPECT_TRUE(delegate->openWindowControllers().isEmpty());
    collect();
    EXPECT_FALSE(gone);
}

TEST_F(Closing, QuitAsksForEachChangedWindowAndCancelStopsIt) {
    const QString file = writeFile("Film.srt", srtOfLines(1));
    for (const QString& keys : {QString(" one"), QString(" two"), QString()}) {
        auto* controller = open(file);
        ASSERT_TRUE(waitForLines(controller, 1));
        if (!keys.isEmpty()) typeIntoDialogCell(controller, 0, keys);
    }
    bool terminated = false;
    QObject::connect(delegate.get(), &AppDelegate::terminateRequested, [&] { terminated = true; });
    answerDuring("Cancel", [&] { delegate->actions()->quitAction()->trigger(); });
    EXPECT_FALSE(terminated);
    EXPECT_EQ(delegate->openWindowControllers().size(), 3);
    int asked = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            ++asked;
            box->buttons().first()->click();
        }
    });
    timer.start(20);
    delegate->actions()->toolTipsAction()->trigger();
    delegate->actions()->quitAction()->trigger();
    EXPECT_EQ(asked, 2);  // not for the untouched window
    EXPECT_TRUE(terminated);
    EXPECT_TRUE(delegate->openWindowControllers().isEmpty());
    // Quitting writes no preferences: only the preferences window saves.
    EXPECT_FALSE(store->value("preferencePanelDictionary").isValid());
    EXPECT_FALSE(store->value("guiSettingsDictionary").isValid());
}

// A picture document's text comes from minutes of OCR and is kept nowhere
// else: until it has been exported, every way of closing asks.
TEST_F(Closing, APictureDocumentAsksOnEveryCloseUntilItsTextIsExported) {
    testsupport::ScopedOverride<ImageSubImporter::Factory> importer(
        &SCSubtitle::setImageSubImporterFactory,
        [] { return std::make_shared<TwoLineImporter>(); });
    struct Way {
        const char* what;
        std::function<void(SCMainWindowController*)> close;
    };
    const Way ways[] = {
        {"Cancel",
         [](SCMainWindowController* c) {
             QTest::mouseClick(button(c, "cancelButton"), Qt::LeftButton);
         }},
        {"the close box", [](SCMainWindowController* c) { c->window()->close(); }},
        {"Ctrl+W",
         [](SCMainWindowController* c) {
             QApplication::setActiveWindow(c->window());
             QTest::keyClick(c->window(), Qt::Key_W, Qt::ControlModifier);
         }},
        {"Quit", [this](SCMainWindowController*) { delegate->actions()->quitAction()->trigger(); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.what);
        auto* controller = open(writeFile("Film.sup", "PG"));
        ASSERT_TRUE(waitForLines(controller, 2));
        ASSERT_TRUE(testsupport::spinUntil(
            [&] { return !controller->windowSubtitle()->isInitializing(); }));
        const auto asked = answerDuring("Cancel", [&] { way.close(controller); });
        ASSERT_TRUE(asked);
        EXPECT_EQ(asked->text, "Are you sure that you want to close the window?");
        EXPECT_EQ(delegate->openWindowControllers(), QList{controller});

        // Exported to disk, the text is safe: Cancel closes at once.
        panels->saveAnswers.push_back(path("Film.export.srt"));
        QTest::mouseClick(button(controller, "exportButton"), Qt::LeftButton);
        ASSERT_TRUE(readFile(path("Film.export.srt")).contains("Recognised line 2"));
        const auto again = answerDuring(
            "OK", [&] { QTest::mouseClick(button(controller, "cancelButton"), Qt::LeftButton); });
        EXPECT_FALSE(again);
        EXPECT_TRUE(delegate->openWindowControllers().isEmpty());
        collect();
    }
}

// The open tries encodings until one reads the file; what the user is first
// shown is the document as that one read it, and closing it untouched asks
// nothing. Building the text to compare logs nothing either.
TEST_F(Closing, AnUntouchedFileClosesAtOnceWhicheverEncodingReadIt) {
    const auto setImportEncoding = [this](const QString& name) {
        delegate->appPreferences()->modifyPreferencePanelDictionary(
            [&](std::optional<QVariantMap>& panel) { panel->insert("importEncoding", name); });
    };
    const auto utf16 = [](const QByteArray& text, const char* form) {
        return *platform::TextCodec::encode(
            QString::fromUtf8(text),
            platform::StringEncoding(platform::StringEncoding::Backend::Icu, form, 0));
    };
    struct Case {
        const char* what;
        QString file;
        QByteArray bytes;
        QString importEncoding;
    } cases[] = {
        {"UTF-16 without a mark, single-byte default", "Film.srt", utf16(srtOfLines(3), "UTF-16LE"),
         "WindowsLatin1"},
        {"UTF-16 without a mark, UTF-8 default", "Film.srt", utf16(srtOfLines(3), "UTF-16LE"),
         "UTF8"},
        {"UTF-16 big-endian without a mark", "Film.srt", utf16(srtOfLines(3), "UTF-16BE"),
         "WindowsLatin1"},
        {"first read", "Film.srt", srtOfLines(3), "UTF8"},
        // Commas in its style and event fields are written as ";".
        {"ASS with commas in its fields", "Film.ass",
         readFile(QUILLMAR_FIXTURES "/document/name-last.ass"), "UTF8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setImportEncoding(c.importEncoding);
        testsupport::ScopedLogCapture log;
        auto* controller = open(writeFile(c.file, c.bytes));
        ASSERT_TRUE(testsupport::spinUntil([&] {
            return !controller->windowSubtitle()->subtitleLinesArray().isEmpty() &&
                   !controller->windowSubtitle()->isInitializing();
        }));
        drain();
        const auto asked = answerDuring(
            "OK", [&] { QTest::mouseClick(button(controller, "cancelButton"), Qt::LeftButton); });
        EXPECT_FALSE(asked);
        EXPECT_TRUE(delegate->openWindowControllers().isEmpty());
        drain();
        EXPECT_FALSE(log.entries().join('\n').contains("ASS export"))
            << log.entries().join('\n').toStdString();
        collect();
    }
}

// Only an export that writes a file says that it wrote commas as ";".
TEST_F(Closing, OnlyAWrittenExportLogsItsReplacedCommas) {
    testsupport::ScopedLogCapture log;
    auto* controller =
        open(writeFile("Film.ass", readFile(QUILLMAR_FIXTURES "/document/name-last.ass")));
    ASSERT_TRUE(testsupport::spinUntil([&] {
        return !controller->windowSubtitle()->subtitleLinesArray().isEmpty() &&
               !controller->windowSubtitle()->isInitializing();
    }));
    typeIntoDialogCell(controller, 0, "!");
    // Each close asks, and so compares the document with its opening.
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(answerDuring("Cancel", [&] { controller->window()->close(); }));
    drain();
    EXPECT_FALSE(log.entries().join('\n').contains("ASS export"));
    panels->saveAnswers.push_back(path("Film.export.ass"));
    QTest::mouseClick(button(controller, "exportButton"), Qt::LeftButton);
    drain();
    EXPECT_EQ(log.entries().filter("ASS export").size(), 1)
        << log.entries().join('\n').toStdString();
}

TEST_F(Closing, ClosingTheStartWindowQuits) {
    bool terminated = false;
    QObject::connect(delegate.get(), &AppDelegate::terminateRequested, [&] { terminated = true; });
    ASSERT_TRUE(delegate->startWindow());
    delegate->startWindow()->close();
    EXPECT_TRUE(terminated);
}

}  // namespace
