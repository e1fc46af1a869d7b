#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "editor/OpeningFixture.h"
#include "editor/QtPrinters.h"
#include "encodings/myEncodings.h"

using editortest::OpeningTest;

namespace {

const QString kQuestion = "All Edits for the Current Subtitle Will Be Lost!  Continue?";

class EncodingChange : public OpeningTest {
  protected:
    std::unique_ptr<SCViewControllerSRT> validView() {
        auto view = openedView(editorFixture("sample.srt"), subtitleTypes::srt);
        reads = std::make_shared<editortest::CountingReads>();
        view->setSubtitleReads(reads);
        return view;
    }
};

TEST_F(EncodingChange, AValidDocumentAsksFirst) {
    struct Case {
        const char* answer;  // "OK", "Cancel" or "" for the timeout
        int rereads;
        const char* shownAfter;
    };
    for (const Case& c :
         {Case{"OK", 1, "MacRoman"}, Case{"Cancel", 0, "UTF8"}, Case{"", 0, "UTF8"}}) {
        SCOPED_TRACE(c.answer);
        // Only the unanswered question may end by its timer before the test
        // answers it.
        SheetAlert::setQuestionTimeout(QString(c.answer).isEmpty() ? 0.2 : 30.0);
        auto view = validView();
        view->setImportEncoding("MacRoman");
        QMessageBox* box = sheet();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), kQuestion);
        EXPECT_EQ(box->informativeText(), "");
        ASSERT_EQ(box->buttons().size(), 2);
        EXPECT_EQ(box->defaultButton()->text(), "OK");
        EXPECT_EQ(reads->total(), 0);
        if (QString(c.answer).isEmpty())
            testsupport::spinUntil([&] { return sheet() == nullptr; });
        else
            answer(c.answer);
        settle(*view);
        EXPECT_EQ(reads->rereads, c.rereads);
        EXPECT_EQ(view->importEncoding(), c.shownAfter);
        EXPECT_FALSE(view->updateImportEncodingSilently());
        EXPECT_EQ(sheet(), nullptr);
    }
}

TEST_F(EncodingChange, TheSameNameAsksAgainAndAnEarlierAnswerKeepsTheTimerHarmless) {
    SheetAlert::setQuestionTimeout(0.3);
    auto view = validView();
    view->setImportEncoding("UTF8");
    answer("Cancel");  // the first question's timer runs from before here
    QElapsedTimer clock;
    clock.start();
    SheetAlert::setQuestionTimeout(30.0);  // this one ends only by its answer
    view->setImportEncoding("UTF8");
    ASSERT_NE(sheet(), nullptr);  // the first timer must not end this one
    testsupport::spinUntil([&] { return clock.elapsed() > 400; });  // its moment has passed
    testsupport::drainMainQueue();
    EXPECT_NE(sheet(), nullptr);
    answer("OK");
    settle(*view);
    EXPECT_EQ(reads->rereads, 1);
}

TEST_F(EncodingChange, AnInvalidDocumentRereadsAtOnce) {
    auto view = makeView<SCViewControllerSRT>();
    view->setSubtitleReads(reads);
    host.show(view->view());
    view->viewSubtitle()->setSubtitleFileType(subtitleTypes::srt);
    view->viewSubtitle()->setSubtitleFileURL(editorFixture("sample.srt"));
    view->setImportEncoding("MacRoman");
    settle(*view);
    EXPECT_EQ(reads->names(), QStringList({"MacRoman"}));
}

TEST_F(EncodingChange, AFailedRereadShowsItsSheetPutsBothNamesBackAndTheNextChangeAsks) {
    auto view = validView();
    view->setImportEncoding("MacHebrew");  // no converter here: the re-read fails
    answer("OK");
    settle(*view);
    QMessageBox* box = sheet();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "The File Can Not be Opened With the Selected Encoding");
    EXPECT_EQ(box->informativeText(), "The original encoding will be used.");
    EXPECT_EQ(view->importEncoding(), "MacHebrew");
    EXPECT_EQ(view->viewSubtitle()->currentImportEncoding(), "MacHebrew");
    answer("OK");
    EXPECT_EQ(view->importEncoding(), "UTF8");
    EXPECT_EQ(view->viewSubtitle()->currentImportEncoding(), "UTF8");
    EXPECT_TRUE(view->viewSubtitle()->subtitleIsValid());
    view->setImportEncoding("MacRoman");
    ASSERT_NE(sheet(), nullptr);
    EXPECT_EQ(sheet()->text(), kQuestion);
    answer("Cancel");
}

TEST_F(EncodingChange, ASecondChangeDuringARereadStillAsksAndBothFailuresGoBackToTheLastGoodName) {
    auto view = validView();
    reads->holdFrom = 1;
    view->setImportEncoding("MacHebrew");
    answer("OK");
    ASSERT_TRUE(testsupport::spinUntil([&] { return reads->rereads == 1; }));
    view->setImportEncoding("MacThai");  // while the first re-read runs
    ASSERT_NE(sheet(), nullptr);
    EXPECT_EQ(sheet()->text(), kQuestion);
    answer("OK");
    reads->release();
    settle(*view);
    for (int i = 0; i < 2 && sheet(); ++i) {
        answer("OK");
        settle(*view);
    }
    EXPECT_EQ(view->importEncoding(), "UTF8");
    EXPECT_EQ(view->viewSubtitle()->currentImportEncoding(), "UTF8");
}

TEST_F(EncodingChange, TheCycleButtonAsksOnAValidDocumentOnly) {
    auto view = validView();
    view->cycleEncodingsButton();
    ASSERT_NE(sheet(), nullptr);
    EXPECT_EQ(sheet()->text(), kQuestion);
    answer("OK");
    settle(*view);
    EXPECT_GE(reads->rereads, 1);
    // The name after "UTF8": the detector's guess is for opening only.
    EXPECT_EQ(reads->names().first(), "Unicode");
    EXPECT_NE(view->importEncoding(), "UTF8");

    auto fresh = makeView<SCViewControllerSRT>();
    auto freshReads = std::make_shared<editortest::CountingReads>();
    fresh->setSubtitleReads(freshReads);
    fresh->viewSubtitle()->setSubtitleFileType(subtitleTypes::srt);
    fresh->viewSubtitle()->setSubtitleFileURL(editorFixture("empty.srt"));
    fresh->setUpdateImportEncodingSilently(true);
    fresh->setImportEncoding("Klingon");  // no catalogue name: every name once
    fresh->cycleEncodingsButton();
    settle(*fresh);
    EXPECT_EQ(freshReads->texts, 141);
    EXPECT_EQ(fresh->importEncoding(), myEncodings::allNames().last());
}

// Each press reads on from the name shown, in list order: the detector's
// guess, which opened the file, is not tried first again, so presses never
// swing back to it.
TEST_F(EncodingChange, EachPressOfTheCycleButtonMovesOnFromTheNameShown) {
    auto view = openedView(editorFixture("french-windows1252.srt"), subtitleTypes::srt);
    ASSERT_EQ(view->importEncoding(), "WindowsLatin1");
    auto* button = view->view()->findChild<QPushButton*>("cycleEncodingsButton");
    ASSERT_NE(button, nullptr);
    ASSERT_EQ(button->text(), "Cycle Encodings");
    const QStringList names = myEncodings::allNames();
    QStringList shown{view->importEncoding()};
    for (int press = 1; press <= 3; ++press) {
        SCOPED_TRACE(press);
        reads = std::make_shared<editortest::CountingReads>();
        view->setSubtitleReads(reads);
        QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_NE(sheet(), nullptr);
        ASSERT_EQ(sheet()->text(), kQuestion);
        QAbstractButton* ok = nullptr;
        for (QAbstractButton* b : sheet()->buttons())
            if (b->text() == "OK") ok = b;
        ASSERT_NE(ok, nullptr);
        QTest::mouseClick(ok, Qt::LeftButton);
        settle(*view);
        ASSERT_FALSE(reads->names().isEmpty());
        EXPECT_EQ(reads->names().first(), names[(names.indexOf(shown.last()) + 1) % names.size()]);
        EXPECT_FALSE(shown.contains(view->importEncoding()))
            << view->importEncoding().toStdString();
        EXPECT_EQ(view->viewSubtitle()->currentImportEncoding(), view->importEncoding());
        shown.append(view->importEncoding());
    }
}

// A file gone since it was opened fails alike in every encoding: the cycle
// stops after one read and ends, as a full cycle does, on the name it left.
TEST_F(EncodingChange, TheCycleStopsAtAFileThatIsGoneAndPutsTheNameBack) {
    QTemporaryDir folder;
    const QString path = folder.filePath("gone.srt");
    ASSERT_TRUE(QFile::copy(editorFixture("sample.srt").toLocalFile(), path));
    auto view = openedView(QUrl::fromLocalFile(path), subtitleTypes::srt);
    ASSERT_EQ(view->importEncoding(), "UTF8");
    reads = std::make_shared<editortest::CountingReads>();
    view->setSubtitleReads(reads);
    ASSERT_TRUE(QFile::remove(path));
    view->cycleEncodingsButton();
    answer("OK");
    settle(*view);
    EXPECT_EQ(reads->total(), 1);
    EXPECT_EQ(view->importEncoding(), "UTF8");
    EXPECT_EQ(view->viewSubtitle()->currentImportEncoding(), "UTF8");
    EXPECT_FALSE(view->viewSubtitle()->isCyclingEncodings());
}

TEST_F(EncodingChange, ClosingTheWindowDuringASlowCycleOrAQuestionNeverBlocks) {
    auto view = makeView<SCViewControllerSRT>();
    reads->holdFrom = 3;  // the third read waits until the window is gone
    view->setSubtitleReads(reads);
    view->viewSubtitle()->setSubtitleFileType(subtitleTypes::srt);
    host.show(view->view());
    view->openSubtitleURL(editorFixture("empty.srt"));
    ASSERT_TRUE(testsupport::spinUntil([&] { return reads->total() >= 3; }));
    view.reset();
    delete host.window();
    // A close that waited for the held read would have waited until it gave up.
    EXPECT_FALSE(reads->gaveUp);
    const int readsAtClose = reads->total();
    reads->release();
    EXPECT_TRUE(testsupport::spinUntil([&] { return RetiredQueues::count() == 0; }));
    EXPECT_LE(reads->total(), readsAtClose + 1);  // stops before its next candidate
}

TEST_F(EncodingChange, ClosingTheWindowWithAQuestionOpenLeavesItsTimerHarmless) {
    SheetAlert::setQuestionTimeout(0.2);
    auto view = validView();
    view->setImportEncoding("MacRoman");
    ASSERT_NE(sheet(), nullptr);
    delete host.window();
    testsupport::drainMainQueue(350);  // the timer's moment passes
    EXPECT_EQ(view->importEncoding(), "MacRoman");
    EXPECT_EQ(reads->total(), 0);
    view.reset();
    testsupport::drainMainQueue(50);
}

}  // namespace
