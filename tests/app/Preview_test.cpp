// The movie preview with a fake ffplay that records its arguments and plays
// until the test releases it.
#include <QAbstractButton>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "AppFixture.h"
#include "app/FontconfigTesterSheet.h"
#include "app/SCMainWindowController.h"
#include "document/SCSubtitle.h"
#include "editor/SCViewControllerSRT.h"
#include "platform/TemporaryFolder.h"
#include "support/EventLoop.h"

namespace {

const QByteArray kFakeFfplay = R"(r="$RECORD"
for a in "$@"; do printf '%s\n' "$a"; done > "$r/args"
: > "$r/started"
i=0
while [ ! -e "$r/release" ] && [ $i -lt 600 ]; do sleep 0.05; i=$((i+1)); done
: > "$r/ended")";

class Preview : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        startDelegate();
        makeFolder("record");
        qputenv("RECORD", path("record").toUtf8());
        writeScript("resources/ffmpeg/ffplay", kFakeFfplay);
        writeFile("Film.mkv", "movie");
    }
    void TearDown() override {
        release();
        AppFixture::TearDown();
        qunsetenv("RECORD");
    }
    SCMainWindowController* openFilm(const QByteArray& srt, int lines) {
        auto* controller = open(writeFile("Film.srt", srt));
        EXPECT_TRUE(waitForLines(controller, lines));
        EXPECT_EQ(controller->previewFilePath(), path("Film.mkv"));
        return controller;
    }
    QPushButton* playButton(SCMainWindowController* controller) {
        return controller->window()->findChild<QPushButton*>("playPreviewFileButton");
    }
    bool waitFor(const QString& name, int ms = testsupport::kHangMs) {
        return testsupport::spinUntil([&] { return QFileInfo::exists(path("record/" + name)); },
                                      ms);
    }
    QStringList arguments() {
        return QString::fromUtf8(readFile(path("record/args"))).split('\n', Qt::SkipEmptyParts);
    }
    QString subtitleArgument() {
        const QStringList args = arguments();
        return args.isEmpty() ? QString() : args.last();
    }
    QStringList temporaryExports() {
        return QDir(path("tmp")).entryList({"quillmarExport.*"}, QDir::Files);
    }
    void release() { writeFile("record/release", ""); }
    static QByteArray timedLines() {
        return "1\n00:00:00,300 --> 00:00:01,000\nA\n\n2\n00:00:10,000 --> 00:00:11,000\nB\n\n"
               "3\n00:00:00,500 --> 00:00:12,000\nC\n\n";
    }
};

TEST_F(Preview, PlaysFromHalfASecondBeforeTheSelectedLine) {
    struct Row {
        int selected;
        QString start;
    };
    const std::vector<Row> rows{{1, "9.5"}, {0, "0.0"}, {2, "0.0"}, {-1, "0.0"}};
    auto* controller = openFilm(timedLines(), 3);
    QPushButton* button = playButton(controller);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.selected);
        QFile::remove(path("record/release"));
        QFile::remove(path("record/started"));
        QFile::remove(path("record/ended"));
        QTableView* table = controller->srtViewController()->subtitleTable();
        table->clearSelection();
        if (row.selected >= 0) table->selectRow(row.selected);
        int ticks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(10);
        button->click();
        EXPECT_FALSE(button->isEnabled());
        ASSERT_TRUE(waitFor("started"));
        const QStringList args = arguments();
        ASSERT_EQ(args.size(), 10);
        EXPECT_EQ(args.mid(0, 4), (QStringList{"-i", path("Film.mkv"), "-ss", row.start}));
        EXPECT_EQ(args.at(8), "-vf");
        // The document as it stands, in a file that exists while it plays.
        ASSERT_EQ(temporaryExports().size(), 1);
        const QString exported = path("tmp/") + temporaryExports().first();
        EXPECT_TRUE(subtitleArgument().endsWith(QFileInfo(exported).fileName()));
        EXPECT_EQ(readFile(exported), timedLines());
        // The main loop keeps answering while the film plays.
        const int before = ticks;
        EXPECT_TRUE(testsupport::spinUntil([&] { return ticks > before + 5; }));
        EXPECT_FALSE(button->isEnabled());
        release();
        ASSERT_TRUE(testsupport::spinUntil([&] { return button->isEnabled(); }));
        EXPECT_TRUE(temporaryExports().isEmpty());
    }
}

TEST_F(Preview, AnEmptyDocumentPlaysFromTheStart) {
    auto* controller = open(writeFile("Film.srt", ""));
    ASSERT_EQ(controller->previewFilePath(), path("Film.mkv"));
    playButton(controller)->click();
    ASSERT_TRUE(waitFor("started"));
    EXPECT_EQ(arguments().value(3), "0.0");
    release();
    EXPECT_TRUE(testsupport::spinUntil([&] { return playButton(controller)->isEnabled(); }));
}

TEST_F(Preview, PlayNeedsAMovie) {
    // A document without a movie beside it: Play is off from the start.
    auto* bare = open(writeFile("Other.srt", timedLines()));
    ASSERT_TRUE(waitForLines(bare, 3));
    EXPECT_TRUE(bare->previewFilePath().isEmpty());
    EXPECT_FALSE(playButton(bare)->isEnabled());

    auto* controller = openFilm(timedLines(), 3);
    QPushButton* play = playButton(controller);
    auto* field = controller->window()->findChild<QLineEdit*>("previewFilePathField");
    EXPECT_TRUE(play->isEnabled());
    // The user empties the movie field: Play goes off and does nothing.
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_TRUE(controller->previewFilePath().isEmpty());
    EXPECT_FALSE(play->isEnabled());
    QTest::mouseClick(play, Qt::LeftButton);
    EXPECT_TRUE(temporaryExports().isEmpty());
    EXPECT_FALSE(waitFor("started", 300));
    // A path typed in turns it on again.
    QTest::keyClicks(field, path("Film.mkv"));
    EXPECT_TRUE(play->isEnabled());
    QTest::mouseClick(play, Qt::LeftButton);
    ASSERT_TRUE(waitFor("started"));
    release();
    EXPECT_TRUE(testsupport::spinUntil([&] { return play->isEnabled(); }));
}

TEST_F(Preview, APathClearedWhileTheCacheIsBuiltStartsNoPlayer) {
    // The cache is built until the test lets it end.
    writeScript("resources/ffmpeg/ffmpeg",
                "i=0; while [ ! -e '" + path("record/built").toUtf8() +
                    "' ] && [ $i -lt 600 ]; do sleep 0.05; i=$((i+1)); done");
    auto* controller = openFilm(timedLines(), 3);
    playButton(controller)->click();
    // The busy window shows over the document window after a second.
    ASSERT_TRUE(testsupport::spinUntil([&] {
        auto* dialog = controller->window()->findChild<QDialog*>("FontconfigTester");
        return dialog && dialog->isVisible();
    }));
    controller->setPreviewFilePath({});
    writeFile("record/built", "");
    ASSERT_TRUE(testsupport::spinUntil([&] { return !controller->isPreviewing(); }));
    // Without a movie the button stays off.
    EXPECT_FALSE(playButton(controller)->isEnabled());
    EXPECT_FALSE(waitFor("started", 300));
    EXPECT_TRUE(temporaryExports().isEmpty());
    EXPECT_TRUE(shownBoxes().isEmpty());
}

TEST_F(Preview, FailuresShowTheirSheets) {
    auto* controller = openFilm(timedLines(), 3);
    QFile::remove(path("resources/ffmpeg/ffplay"));
    playButton(controller)->click();
    auto answered = answerBox("OK");
    ASSERT_TRUE(answered);
    EXPECT_EQ(answered->text, "ffplay Could Not Be Launched");
    EXPECT_EQ(answered->informativeText, "Check that ffmpeg is installed.");
    EXPECT_TRUE(playButton(controller)->isEnabled());
    EXPECT_TRUE(temporaryExports().isEmpty());

    writeScript("resources/ffmpeg/ffplay", kFakeFfplay);
    writeFile("blocker", "a file where the temporary folder should be");
    temporaryFolder->set(path("blocker/tmp"));
    playButton(controller)->click();
    answered = answerBox("OK");
    ASSERT_TRUE(answered);
    EXPECT_EQ(answered->text, "Quillmar Could Not Export This File");
    EXPECT_TRUE(playButton(controller)->isEnabled());
    EXPECT_FALSE(waitFor("started", 500));
}

TEST_F(Preview, AMovieThatIsNotThereIsSaidToBeMissing) {
    auto* controller = openFilm(timedLines(), 3);
    QPushButton* play = playButton(controller);
    auto* field = controller->window()->findChild<QLineEdit*>("previewFilePathField");
    // The user types a path to a movie that does not exist, and plays.
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, path("Flim.mkv"));
    ASSERT_EQ(controller->previewFilePath(), path("Flim.mkv"));
    EXPECT_TRUE(play->isEnabled());
    QTest::mouseClick(play, Qt::LeftButton);
    const auto answered = answerBox("OK");
    ASSERT_TRUE(answered);
    EXPECT_EQ(answered->text, "The Movie Can Not Be Found");
    EXPECT_EQ(answered->informativeText,
              "There is no movie file at \"" + path("Flim.mkv") +
                  "\". Choose the movie with Select…, or correct its path.");
    EXPECT_EQ(answered->modality, Qt::WindowModal);
    EXPECT_FALSE(QFileInfo::exists(path("record/started")));
    EXPECT_TRUE(temporaryExports().isEmpty());
    EXPECT_TRUE(play->isEnabled());
    // A folder is no movie either.
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, path("record"));
    QTest::mouseClick(play, Qt::LeftButton);
    ASSERT_TRUE(answerBox("OK"));
    EXPECT_FALSE(QFileInfo::exists(path("record/started")));
}

TEST_F(Preview, QuittingStopsThePlayerAndRemovesItsFile) {
    auto* controller = openFilm(timedLines(), 3);
    playButton(controller)->click();
    ASSERT_TRUE(waitFor("started"));
    ASSERT_EQ(temporaryExports().size(), 1);
    bool terminated = false;
    QObject::connect(delegate.get(), &AppDelegate::terminateRequested, [&] { terminated = true; });
    answerDuring("OK", [&] { delegate->quit(); });
    EXPECT_TRUE(terminated);
    EXPECT_TRUE(temporaryExports().isEmpty());
    // The player is stopped, not left to play on.
    EXPECT_TRUE(
        testsupport::spinUntil([&] { return !QFileInfo::exists(path("record/ended")); }, 100));
    collect();
    AppFixture::drain(2500);
    EXPECT_FALSE(QFileInfo::exists(path("record/ended")));
}

}  // namespace
